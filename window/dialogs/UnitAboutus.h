#pragma once
// TForm3, the about dialog: the logo, what the tool does, and Close.

#include <QDialog>

class QLabel;
class QPushButton;

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);

  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* Button1 = nullptr;
};
