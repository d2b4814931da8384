#pragma once
// A bare paint area that hands its paint pass and mouse events to the window
// that owns it, the way the strip's handlers live in the main window.

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <functional>

class TPaintBox : public QWidget {
 public:
  explicit TPaintBox(QWidget* parent = nullptr) : QWidget(parent) { setMouseTracking(true); }

  std::function<void(QPainter&, const QRect&)> OnPaint;
  std::function<void(int x)> OnMouseMove;
  std::function<void(int x)> OnMouseDown;

 protected:
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
};
