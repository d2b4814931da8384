#pragma once
// Helpers for tests that look at the preview as the user sees it: the player
// element's place in the view, the colours of the grabbed view, and real
// mouse drags over it.

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QRect>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <cstdlib>
#include <filesystem>

#include "generated/BuildInfo.h"

// How long the player may take to come up in a test (the first page also
// starts the web engine).
constexpr int kPlayerTimeoutMs = 60000;

// Tests that play movies need the player; a build made without it skips them.
#define SKIP_WITHOUT_PLAYER() \
  if (!kPlayerBundled) GTEST_SKIP() << "built without the SWF player"

inline QVariant RunJs(QWebEngineView& view, const QString& code) {
  QVariant result;
  bool done = false;
  QPointer<QWebEngineView> guard(&view);
  view.page()->runJavaScript(code, [&result, &done](const QVariant& value) {
    result = value;
    done = true;
  });
  if (!QTest::qWaitFor([&done] { return done; }, 10000)) ADD_FAILURE() << "no answer to " << code.toStdString();
  return result;
}

// The player element's rectangle in the view once its movie has started, or
// an empty rectangle.
inline QRect PlayerRect(QWebEngineView& view) {
  const QVariantList box = RunJs(view, QStringLiteral(R"JS(
      (() => {
        const player = document.querySelector("ruffle-embed, ruffle-object");
        if (!player || !player.ruffle || player.ruffle().readyState < 2) return [];
        const r = player.getBoundingClientRect();
        return [r.left, r.top, r.width, r.height];
      })())JS"))
                               .toList();
  if (box.size() != 4) return {};
  return QRect(box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt());
}

inline QImage Grab(QWebEngineView& view) { return view.grab().toImage(); }

inline bool Near(QColor a, QColor b, int tolerance = 24) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

// Waits until the view shows colour at point; false on timeout.
inline bool WaitForColour(QWebEngineView& view, QPoint point, QColor colour, int timeoutMs = kPlayerTimeoutMs) {
  return QTest::qWaitFor([&] { return Near(Grab(view).pixelColor(point), colour); }, timeoutMs);
}

// The widget that takes the view's mouse input.
inline QWidget* InputWidget(QWebEngineView& view) { return view.focusProxy() ? view.focusProxy() : &view; }

// Presses at from, moves to to in small steps and releases, as a hand would.
// The player reports the position of the previous mouse event inside the
// movie's mouse handlers, so the pointer settles (one pixel down and back)
// before the press and before the release: then the movie sees where it is.
inline void Drag(QWebEngineView& view, QPoint from, QPoint to, int steps = 20) {
  QWidget* target = InputWidget(view);
  auto send = [target](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
    QTest::qWait(30);
  };
  auto settle = [&send](QPoint at, Qt::MouseButtons buttons) {
    send(QEvent::MouseMove, at + QPoint(0, 1), Qt::NoButton, buttons);
    send(QEvent::MouseMove, at, Qt::NoButton, buttons);
  };
  send(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
  settle(from, Qt::NoButton);
  send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  for (int i = 1; i <= steps; ++i)
    send(QEvent::MouseMove, from + (to - from) * i / steps, Qt::NoButton, Qt::LeftButton);
  settle(to, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// Points the user's runtime folder at folder for one test.
class RuntimeFolder {
 public:
  explicit RuntimeFolder(const std::filesystem::path& folder)
      : wasSet_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")), saved_(qgetenv("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(QString::fromStdString(folder.string())));
  }
  ~RuntimeFolder() {
    if (wasSet_) {
      qputenv("XDG_RUNTIME_DIR", saved_);
    } else {
      qunsetenv("XDG_RUNTIME_DIR");
    }
  }
  RuntimeFolder(const RuntimeFolder&) = delete;
  RuntimeFolder& operator=(const RuntimeFolder&) = delete;

 private:
  bool wasSet_;
  QByteArray saved_;
};
