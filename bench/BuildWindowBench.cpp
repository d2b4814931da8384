// The main window's event round-trip while Build writes a movie of 36 camera
// frames of 6000 x 4000: how long a call posted to the window's thread waits
// before it runs, sampled every 5 ms, through the check before the save
// dialog and through the writing after it. The frames are made once, from the
// largest photograph of Debian's mate-backgrounds scaled up and shifted a
// little per frame, into FOLDER (default: camera-frames beside this program).
// The save dialog and the message boxes are the program's own, answered as a
// user would; on an X display (xvfb-run) the window can be looked at meanwhile.
//
//   build_window_bench [FOLDER]

#include <turbojpeg.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/Jpeg.h"
#include "window/dialogs/QtDialogs.h"
#include "window/main/Unit1.h"
#include "window/strip/PaintBox.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 36;
constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

fs::path LargestBackground() {
  fs::path best;
  std::uintmax_t largest = 0;
  for (const auto& entry : fs::recursive_directory_iterator("/usr/share/backgrounds/mate")) {
    if (entry.path().extension() != ".jpg" || entry.file_size() <= largest) continue;
    largest = entry.file_size();
    best = entry.path();
  }
  if (best.empty()) throw std::runtime_error("no photograph in /usr/share/backgrounds/mate (mate-backgrounds)");
  return best;
}

std::vector<std::string> MakeFrames(const fs::path& folder) {
  std::vector<std::string> paths;
  for (int i = 1; i <= kFrames; ++i) paths.push_back((folder / ("IMG_" + std::to_string(100 + i) + ".JPG")).string());
  if (fs::exists(paths.back())) return paths;
  fs::create_directories(folder);
  const fs::path source = LargestBackground();
  std::printf("making %d frames of %d x %d from %s\n", kFrames, kWidth, kHeight, source.c_str());
  const QImage photo = QImage(QString::fromStdString(source.string()))
                           .scaled(kWidth + kFrames * 8, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                           .convertToFormat(QImage::Format_RGB888);
  for (int i = 0; i < kFrames; ++i) {
    const QImage frame = photo.copy(i * 8, 0, kWidth, kHeight);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
      std::copy_n(frame.constScanLine(y), kWidth * 3, &pixels[static_cast<std::size_t>(y) * kWidth * 3]);
    std::ofstream(paths[static_cast<std::size_t>(i)], std::ios::binary)
        << CompressJpeg(pixels, kWidth, kHeight, TJPF_RGB, TJSAMP_420, 0, 95);
  }
  return paths;
}

// Answers the program's own dialogs as they come up: the save dialog with
// the target, a message box with its OK (or default) button.
void AnswerDialogs(const QString& target) {
  QWidget* modal = QApplication::activeModalWidget();
  if (auto* save = qobject_cast<QFileDialog*>(modal)) {
    // Typed into the name field, as a user would.
    if (auto* name = save->findChild<QLineEdit*>("fileNameEdit")) name->setText(target);
    QMetaObject::invokeMethod(save, "accept");
  } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    QAbstractButton* button = box->button(QMessageBox::Ok);
    if (!button) button = box->defaultButton();
    if (button) button->click();
  }
}

// Posts a call to the window's thread every 5 ms and keeps how long each
// waited, in milliseconds, in the phase it was posted in.
class RoundTrips {
 public:
  std::deque<std::vector<double>> phases{{}};  // a deque keeps each phase where it is

  void Start() { Post(); }
  void Stop() { running_ = false; }
  void NextPhase() { phases.emplace_back(); }

 private:
  void Post() {
    if (!running_) return;
    QElapsedTimer clock;
    clock.start();
    std::vector<double>* phase = &phases.back();
    QMetaObject::invokeMethod(
        &context_,
        [this, clock, phase] {
          phase->push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
          QTimer::singleShot(5, &context_, [this] { Post(); });
        },
        Qt::QueuedConnection);
  }

  QObject context_;
  bool running_ = true;
};

void Report(const char* what, std::vector<double> trips, double seconds) {
  if (trips.empty()) {
    std::printf("  %-38s %6.2f s, no round-trip completed\n", what, seconds);
    return;
  }
  std::sort(trips.begin(), trips.end());
  std::printf("  %-38s %6.2f s   round-trip median %7.2f ms   max %8.2f ms   (%zu samples)\n", what, seconds,
              trips[trips.size() / 2], trips.back(), trips.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  const fs::path folder =
      argc > 1 ? fs::path(argv[1]) : fs::path(QCoreApplication::applicationDirPath().toStdString()) / "camera-frames";
  const std::vector<std::string> frames = MakeFrames(folder);
  const QString target = QString::fromStdString((folder / "movie.swf").string());

  std::optional<QtDialogs> dialogs;
  TForm1 form([&dialogs](TForm1& window) -> WindowDialogs& { return dialogs.emplace(window, window.ImportFolder); });
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) throw std::runtime_error("the window was not shown");
  form.FormDragDrop(frames);
  form.PaintBox1->repaint();
  if (!QTest::qWaitFor([&] { return !form.ThumbnailsPending(); }, 120000))
    throw std::runtime_error("thumbnails never came");
  form.PaintBox1->repaint();

  QTimer answering;
  QObject::connect(&answering, &QTimer::timeout, [&] { AnswerDialogs(target); });
  answering.start(200);
  RoundTrips trips;
  QElapsedTimer clock;
  double checkSeconds = 0;
  // The save dialog opening ends the check.
  QTimer phases;
  QObject::connect(&phases, &QTimer::timeout, [&] {
    if (qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) && trips.phases.size() == 1) {
      checkSeconds = static_cast<double>(clock.elapsed()) / 1e3;
      trips.NextPhase();
    }
  });
  phases.start(1);
  std::printf("building %d x %d x %d\n", kFrames, kWidth, kHeight);
  std::fflush(stdout);
  clock.start();
  trips.Start();
  form.Build1->trigger();
  trips.Stop();
  const double total = static_cast<double>(clock.elapsed()) / 1e3;
  std::printf("status text \"%s\"; movie %.1f MB\n", form.StaticText1->text().toUtf8().constData(),
              fs::exists(target.toStdString()) ? static_cast<double>(fs::file_size(target.toStdString())) / 1e6 : 0.0);
  Report("check, to the save dialog", trips.phases[0], checkSeconds);
  if (trips.phases.size() > 1)
    Report("save dialog (answered in 200 ms) and writing", trips.phases[1], total - checkSeconds);
  fs::remove(target.toStdString());
  return 0;
}
