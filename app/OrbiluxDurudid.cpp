// The program: the main window first, then the folder chooser and the about
// dialog, both hidden until a command shows them, then the event loop.

#include <QApplication>

#include "window/dialogs/QtDialogs.h"
#include "window/main/Unit1.h"
#include "window/dialogs/UnitAboutus.h"
#include "window/dialogs/foldSelectUnit.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("OrbiluxDurudid");

  TForm1 Form1;
  TForm2 Form2(Form1.ImportFolder, &Form1);
  TForm3 Form3(&Form1);
  QtDialogs dialogs(Form1, Form2, Form3);
  Form1.UseDialogs(dialogs);

  Form1.show();
  return application.exec();
}
