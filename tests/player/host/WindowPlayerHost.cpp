// The main window, steered from a player test or benchmark over standard
// input and output, so that movies play in the window's own web view under
// the same checks as in the browser. One JSON object per line each way: a
// request {"id", "do", ...} gets one answer {"id", ...} or {"id", "error"}.
//
//   preview {movie, width, height}  the Preview command for that movie; answers
//                                   with the host's clock at the click
//   movie                           where the movie lies in the view: rect
//                                   (view pixels), scale, loading notice
//   js {code}                       runs code in the page; its value
//   mouse {type, x, y}              move, press or release at view point x, y
//   colours {points, radius}        mean colours around view points, from one
//                                   grab of the preview area, with the clock then
//   resize {width, height}          resizes the window's client area
//   shot {file}                     saves the whole window as a PNG file
//   quit
//
// The clock is milliseconds on a steady clock since the host started.

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QSocketNotifier>
#include <QWebEnginePage>
#include <cstdio>

#include "tests/window/ScriptedDialogs.h"
#include "window/main/Unit1.h"
#include "window/preview/PreviewBrowser.h"
#include "window/preview/PreviewScheme.h"
#include "window/preview/PreviewStatus.h"

namespace {

class Host : public QObject {
 public:
  Host() : input_(STDIN_FILENO, QSocketNotifier::Read) {
    clock_.start();
    form_.show();
    connect(&input_, &QSocketNotifier::activated, this, [this] { ReadRequests(); });
  }

 private:
  void ReadRequests() {
    char chunk[65536];
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count <= 0) {
      QCoreApplication::quit();
      return;
    }
    pending_.append(chunk, static_cast<qsizetype>(count));
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
      const QByteArray line = pending_.left(end);
      pending_.remove(0, end + 1);
      const QJsonObject request = QJsonDocument::fromJson(line).object();
      Handle(request);
    }
  }

  void Answer(const QJsonObject& request, QJsonObject answer) {
    answer["id"] = request["id"];
    answer["clock"] = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
    const QByteArray text = QJsonDocument(answer).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    std::fflush(stdout);
  }

  void Handle(const QJsonObject& request) {
    const QString what = request["do"].toString();
    if (what == "preview") {
      form_.OutputPath = request["movie"].toString();
      form_.MovieWidth = request["width"].toInt();
      form_.MovieHeight = request["height"].toInt();
      form_.ToolButton6->setEnabled(true);
      const QJsonObject clicked{{"clicked", static_cast<double>(clock_.nsecsElapsed()) / 1e6}};
      form_.ToolButton6->trigger();
      QJsonObject answer = clicked;
      if (!dialogs_.Messages.empty()) answer["message"] = dialogs_.Messages.back().Text;
      Answer(request, answer);
    } else if (what == "movie") {
      Answer(request, MovieState());
    } else if (what == "js") {
      if (!form_.WebBrowser1) return Answer(request, {{"error", "no web view yet"}});
      form_.WebBrowser1->page()->runJavaScript(request["code"].toString(), [this, request](const QVariant& value) {
        Answer(request, {{"value", QJsonValue::fromVariant(value)}});
      });
    } else if (what == "mouse") {
      if (!form_.WebBrowser1) return Answer(request, {{"error", "no web view yet"}});
      SendMouse(request["type"].toString(), QPointF(request["x"].toDouble(), request["y"].toDouble()));
      Answer(request, {});
    } else if (what == "colours") {
      Answer(request, Colours(request["points"].toArray(), request["radius"].toInt(2)));
    } else if (what == "resize") {
      form_.resize(request["width"].toInt(), request["height"].toInt() + form_.menuWidget()->sizeHint().height());
      QCoreApplication::processEvents();
      Answer(request, MovieState());
    } else if (what == "shot") {
      const bool saved = form_.grab().save(request["file"].toString(), "PNG");
      Answer(request, saved ? QJsonObject{} : QJsonObject{{"error", "cannot save " + request["file"].toString()}});
    } else if (what == "quit") {
      Answer(request, {});
      QCoreApplication::quit();
    } else {
      Answer(request, {{"error", "unknown request " + what}});
    }
  }

  QJsonObject MovieState() const {
    QJsonObject state{{"area", QJsonArray{form_.PreviewArea->width(), form_.PreviewArea->height()}}};
    if (const PreviewStatus* status = form_.findChild<PreviewStatus*>(); status && status->isVisible())
      state["notice"] = status->Text();
    if (!form_.WebBrowser1) return state;
    const QRectF rect = form_.WebBrowser1->MovieRect();
    state["rect"] = QJsonArray{rect.x(), rect.y(), rect.width(), rect.height()};
    state["scale"] = form_.WebBrowser1->MovieScale();
    return state;
  }

  void SendMouse(const QString& type, QPointF at) {
    QWidget* target = form_.WebBrowser1->focusProxy() ? form_.WebBrowser1->focusProxy() : form_.WebBrowser1;
    const QEvent::Type kind = type == "press"     ? QEvent::MouseButtonPress
                              : type == "release" ? QEvent::MouseButtonRelease
                                                  : QEvent::MouseMove;
    if (kind == QEvent::MouseButtonPress) buttons_ = Qt::LeftButton;
    if (kind == QEvent::MouseButtonRelease) buttons_ = Qt::NoButton;
    const Qt::MouseButton button = kind == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(kind, at, target->mapToGlobal(at), button, buttons_, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
  }

  QJsonObject Colours(const QJsonArray& points, int radius) const {
    // What the user sees: the web view and whatever covers it.
    const QImage image = form_.PreviewArea->grab().toImage();
    const double ratio = image.devicePixelRatio();  // device pixels per view pixel
    QJsonArray colours;
    for (const QJsonValue& point : points) {
      const int x = qRound(point[0].toDouble() * ratio);
      const int y = qRound(point[1].toDouble() * ratio);
      long sum[3] = {0, 0, 0};
      long count = 0;
      for (int yy = std::max(0, y - radius); yy <= std::min(image.height() - 1, y + radius); ++yy) {
        for (int xx = std::max(0, x - radius); xx <= std::min(image.width() - 1, x + radius); ++xx) {
          const QColor c = image.pixelColor(xx, yy);
          sum[0] += c.red();
          sum[1] += c.green();
          sum[2] += c.blue();
          ++count;
        }
      }
      colours.append(count ? QJsonArray{int(sum[0] / count), int(sum[1] / count), int(sum[2] / count)} : QJsonArray{});
    }
    return {{"colours", colours}};
  }

  QElapsedTimer clock_;
  QSocketNotifier input_;
  QByteArray pending_;
  ScriptedDialogs dialogs_;
  TForm1 form_{dialogs_};
  Qt::MouseButtons buttons_ = Qt::NoButton;
};

}  // namespace

int main(int argc, char** argv) {
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  RegisterPreviewScheme();
  QApplication application(argc, argv);
  QApplication::setApplicationName("OrbiluxDurudid");
  Host host;
  return application.exec();
}
