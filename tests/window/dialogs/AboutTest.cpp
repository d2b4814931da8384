// TForm3, the about dialog.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "generated/BuildInfo.h"
#include "tests/window/QtPrinters.h"
#include "window/dialogs/UnitAboutus.h"

namespace {

TEST(About, IsAFixedDialogWithLogoTextAndClose) {
  QWidget owner;
  owner.setGeometry(100, 100, 862, 600);
  owner.show();
  TForm3 form(&owner);
  EXPECT_EQ(form.windowTitle(), "About us");
  const Qt::WindowFlags flags = form.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(form.Image1->pixmap().isNull());
  EXPECT_TRUE(form.Label1->text().contains(QString::fromLatin1(kProgramVersion)));
  EXPECT_EQ(form.Button1->text(), "&Close");

  QPoint centre;
  QTimer::singleShot(0, &form, [&] {
    centre = form.geometry().center();
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed size";
    form.Button1->click();
  });
  form.exec();
  EXPECT_FALSE(form.isVisible());
  EXPECT_LE((centre - owner.geometry().center()).manhattanLength(), 2) << "centred on the main window";
}

}  // namespace
