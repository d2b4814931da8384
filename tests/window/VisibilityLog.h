#pragma once
// Counts the times a widget is shown and hidden.

#include <QEvent>
#include <QObject>
#include <QWidget>

class VisibilityLog : public QObject {
 public:
  explicit VisibilityLog(QWidget* widget) { widget->installEventFilter(this); }
  int Shown = 0;
  int Hidden = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) ++Shown;
    if (event->type() == QEvent::Hide) ++Hidden;
    return false;
  }
};
