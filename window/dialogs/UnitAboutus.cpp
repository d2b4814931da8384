#include "window/dialogs/UnitAboutus.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "generated/BuildInfo.h"
#include "window/style/FormStyle.h"
#include "window/style/Icons.h"

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About us");
  setWindowFlags(kFixedDialogFlags);
  setFont(FormFont());

  Image1 = new QLabel(this);
  Image1->setPixmap(LogoPixmap(96));
  Image1->setFixedSize(96, 96);

  Label1 = new QLabel(this);
  Label1->setWordWrap(true);
  Label1->setFixedWidth(260);
  Label1->setText(
      QStringLiteral("<b>Orbilux Rezoziv</b> V%1<br><br>").arg(QString::fromLatin1(kProgramVersion)) +
      QStringLiteral("Turns a series of photos of one size, taken around an object, into one Flash movie (SWF). "
                     "In the movie the viewer turns the object by dragging the mouse across it.<br><br>"
                     "Import the pictures, put them in order in the strip, then choose Tools, Build."));

  Button1 = new QPushButton("&Close", this);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->setSpacing(16);
  top->addWidget(Image1, 0, Qt::AlignTop);
  top->addWidget(Label1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(16, 16, 16, 12);
  column->setSpacing(12);
  column->addLayout(top);
  column->addLayout(buttons);
  // The dialog keeps the size its contents need.
  column->setSizeConstraint(QLayout::SetFixedSize);
}
