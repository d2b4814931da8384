#pragma once
// A bare paint area that hands its paint pass and mouse events to the window
// that owns it, the way the strip's handlers live in the main window.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWidget>
#include <functional>

#include "window/text/PlainText.h"

class TPaintBox : public QWidget {
 public:
  explicit TPaintBox(QWidget* parent = nullptr) : QWidget(parent) {
    setMouseTracking(true);
    // Takes the keyboard when clicked or tabbed to, so its keys work only then.
    setFocusPolicy(Qt::StrongFocus);
  }

  std::function<void(QPainter&, const QRect&)> OnPaint;
  std::function<void(int x)> OnMouseMove;
  std::function<void(int x)> OnMouseDown;
  // Returns whether it used the key; an unused key goes on to the parents.
  std::function<bool(int key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
  // The tool tip for the point at x, plain text; none when it is empty.
  std::function<QString(int x)> OnToolTip;

 protected:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::ToolTip || !OnToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = OnToolTip(help->pos().x());
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), RichTextShowing(text), this);
    }
    return true;
  }
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    if (OnPaint) OnPaint(painter, event->rect());
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (OnMouseMove) OnMouseMove(static_cast<int>(event->position().x()));
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (OnMouseDown) OnMouseDown(static_cast<int>(event->position().x()));
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (OnKeyDown && OnKeyDown(event->key(), event->modifiers())) return;
    QWidget::keyPressEvent(event);
  }
};
