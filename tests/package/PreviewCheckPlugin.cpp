// Checks an installed window program from inside, as scripts/check-package
// runs it on Qt's offscreen platform:
//
//   QT_PLUGIN_PATH=DIR QT_QPA_GENERIC_PLUGINS=previewcheck:WORK OrbiluxDurudid
//
// where DIR holds generic/libpreviewcheck.so. Once the window is up, this
// writes a red 320 x 240 JPEG picture into the folder WORK, imports it
// through the open dialog, builds WORK/first.swf through the save dialog and
// clicks Preview, as a user would. The program then ends with status 0 once
// the preview shows the picture, or 1 with what went wrong on standard error
// (a message box of the window, a command left disabled, no picture in time).

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGenericPlugin>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kPreviewTimeoutMs = 120000;

void Say(const QString& text) { std::fprintf(stderr, "previewcheck: %s\n", qPrintable(text)); }

// Lets the program run for ms milliseconds.
void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

class PreviewCheck : public QObject {
 public:
  explicit PreviewCheck(const QString& folder) : folder_(folder) {
    // Runs once the program's event loop has started, with its window shown.
    QTimer::singleShot(0, this, [this] { QCoreApplication::exit(Run() ? 0 : 1); });
    // Answers the dialogs that the commands open and wait for.
    connect(&answer_, &QTimer::timeout, this, &PreviewCheck::AnswerDialog);
    answer_.start(100);
  }

 private:
  bool Run() {
    const QString picture = QDir(folder_).filePath("first.jpg");
    QImage red(kWidth, kHeight, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    if (!red.save(picture, "JPEG", 95)) return Fail("cannot write " + picture);

    QMainWindow* window = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* main = qobject_cast<QMainWindow*>(widget)) window = main;
    }
    if (!window) return Fail("no main window");
    QAction* import = Action(*window, "Import...");
    QAction* build = Action(*window, "Build");
    QAction* preview = Action(*window, "Preview the SWF");
    if (!import || !build || !preview) return Fail("a command is missing");

    fileToChoose_ = picture;
    import->trigger();
    window->grab();  // paints the strip, which measures the pictures
    if (!build->isEnabled()) return Fail("Build stays disabled after the import");
    const QString movie = QDir(folder_).filePath("first.swf");
    fileToChoose_ = movie;
    build->trigger();
    if (!QFileInfo(movie).isFile()) return Fail("no movie was written to " + movie);
    if (!preview->isEnabled()) return Fail("Preview stays disabled after the build");
    preview->trigger();
    if (!failure_.isEmpty()) return Fail("the preview failed");

    QElapsedTimer clock;
    clock.start();
    int redPixels = 0;
    while (clock.elapsed() < kPreviewTimeoutMs) {
      Wait(500);
      if (auto* view = window->findChild<QWidget*>("WebBrowser1")) redPixels = RedPixels(view->grab().toImage());
      if (redPixels * 2 >= kWidth * kHeight) {
        Say(QString("the preview shows the picture (%1 red pixels)").arg(redPixels));
        return true;
      }
    }
    return Fail(QString("the preview did not show the picture in time (%1 red pixels)").arg(redPixels));
  }

  bool Fail(const QString& why) {
    Say(failure_.isEmpty() ? why : why + "; " + failure_);
    return false;
  }

  static QAction* Action(QMainWindow& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
      if (action->text() == text) return action;
    }
    return nullptr;
  }

  static int RedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        count += c.red() > 220 && c.green() < 40 && c.blue() < 40;
      }
    }
    return count;
  }

  // A file dialog gets the file to choose; a message box is a failure.
  void AnswerDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      // Typed into the name field, as selectFile() leaves that field alone
      // while it has the focus.
      if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) name->setText(fileToChoose_);
      // As the dialog's own OK button does (accept() is protected there).
      QMetaObject::invokeMethod(files, "accept");
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      failure_ = "the window said: " + box->text();
      box->accept();
    }
  }

  QString folder_;
  QString fileToChoose_;
  QString failure_;
  QTimer answer_;
};

}  // namespace

class PreviewCheckPlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "previewcheck.json")

 public:
  QObject* create(const QString& key, const QString& parameters) override {
    if (key.compare("previewcheck", Qt::CaseInsensitive) != 0) return nullptr;
    return new PreviewCheck(parameters);
  }
};

#include "PreviewCheckPlugin.moc"
