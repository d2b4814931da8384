// The Build command: the format check, the save dialog and the hand-over to
// the movie writer, with the progress panel the writer drives.

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScopeGuard>
#include <QToolBar>
#include <map>
#include <utility>
#include <vector>

#include "collection/PictureReview.h"
#include "common/Errors.h"
#include "publish/FittedCopies.h"
#include "publish/Publish.h"
#include "window/dialogs/WindowDialogs.h"
#include "window/main/BuildThread.h"
#include "window/main/Unit1.h"
#include "window/text/PathText.h"

namespace {

const char* const kStopCaption = "Stop - Orbilux Rezeved2.0";
const char* const kWarningCaption = "Orbilux Rezoziv";

// The hourglass while the pictures are checked, however the check ends.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// One line per picture: the refused ones, then those with warnings.
QString PictureDetails(const std::vector<PictureNote>& refusals, const std::vector<PictureNote>& warnings) {
  QStringList lines;
  for (const PictureNote& note : refusals) lines << PathToText(note.Text());
  for (const PictureNote& note : warnings) lines << "warning: " + PathToText(note.Text());
  return lines.join('\n');
}

}  // namespace

void TForm1::Build1Click() { RunBuild(); }

void TForm1::RunBuild() {
  RunRefusingInStopBox([this] {
    const LargePicturesAnswer answer = CheckPicturesBuildable(true);
    if (answer == LargePicturesAnswer::Cancel) return;
    const std::optional<QString> path = dialogs_->SaveMoviePath(OutputPath);
    if (!path) return;
    OutputPath = *path;
    ToolButton6->setEnabled(true);
    WriteMovie(OutputPath, answer == LargePicturesAnswer::ScaleToFit);
  });
}

// A list the movie cannot be made of is refused in the stop message box, both
// before the save dialog and when the writer finds a picture that changed
// since; its details name every picture and say why. Every other error goes
// on to the general error report.
void TForm1::RunRefusingInStopBox(const std::function<void()>& build) {
  try {
    build();
  } catch (const PictureMismatchError& refusal) {
    ShowStopMessage(QString::fromUtf8(refusal.what()), PictureDetails(refusal.Refusals(), refusal.Warnings()));
  } catch (const NoPicturesError& refusal) {
    ShowStopMessage(QString::fromUtf8(refusal.what()));
  }
}

// Pictures that will show wrong are said so before any dialog, which the
// user may then cancel: a line per kind of warning, each picture in the
// details. The user is told once; the same warnings (an unchanged list
// built or exported again) are not shown again, and the answer given then
// holds. Pictures larger than older players show may be built from copies
// scaled to fit, when the caller offers it.
LargePicturesAnswer TForm1::CheckPicturesBuildable(bool offerFit) {
  // An empty list would make a movie of nothing; say so before asking for a file.
  if (PictureList.Count() == 0) throw NoPicturesError();
  const PictureReview review = CheckPictures();
  if (review.Warnings.empty()) return LargePicturesAnswer::AsTheyAre;
  const bool large = review.MovieSize.Width > kPlayerFitBox.Width || review.MovieSize.Height > kPlayerFitBox.Height;
  if (review.Warnings == warningsShown_ && (!offerFit || !large || largeAnswered_)) return largeAnswer_;
  warningsShown_ = review.Warnings;
  QStringList kinds;
  for (const std::string& line : WarningLines(review.Warnings)) kinds << PathToText(line);
  const MessageBoxText box{kWarningCaption,
                           QString::number(review.Warnings.size()) +
                               " of the pictures will show wrong in some players:\r" + kinds.join('\r') +
                               "\rThe details name each picture.",
                           MessageBoxText::Icon::Warning, PictureDetails({}, review.Warnings)};
  largeAnswer_ = LargePicturesAnswer::AsTheyAre;
  largeAnswered_ = offerFit && large;
  if (!largeAnswered_) {
    dialogs_->ShowMessage(box);
    return largeAnswer_;
  }
  const LargePicturesAnswer answer = dialogs_->AskLargePictures(
      box, QString::number(kPlayerFitBox.Width) + " x " + QString::number(kPlayerFitBox.Height));
  // A cancelled box is asked again next time.
  if (answer == LargePicturesAnswer::Cancel) warningsShown_.clear();
  if (answer != LargePicturesAnswer::Cancel) largeAnswer_ = answer;
  return answer;
}

// What the strip has decoded already is not decoded again; a picture it has
// not decoded yet has its structure walked. What the check finds, the strip
// shows on its cells from then on. The check runs off the window's thread,
// with what the strip knows looked up before it starts.
PictureReview TForm1::CheckPictures() {
  const BusyCursor busy;
  std::map<std::string, ThumbnailStrip::ScanLookup> lookups;
  for (const PictureEntry& entry : PictureList.Entries()) {
    if (!lookups.contains(entry.Path)) lookups.emplace(entry.Path, strip_.LookUpScanProblem(entry.Path));
  }
  std::vector<std::pair<FileStamp, std::optional<std::string>>> learnt;
  const auto keepLearnt = [&] {
    for (auto& [file, problem] : learnt) strip_.KeepScanProblem(file, std::move(problem));
    RepaintStrip();  // with what the check learnt
  };
  PictureReview review;
  try {
    RunWhileWindowLives([&](BuildReporter&) {
      review = CheckPicturesForMovie(PictureList, false, [&](const std::string& path) {
        const ThumbnailStrip::ScanLookup& lookup = lookups.at(path);
        if (lookup.Known) return *lookup.Known;
        std::optional<std::string> problem = FindScanProblem(path, lookup.Failed);
        learnt.emplace_back(lookup.File, problem);
        return problem;
      });
    });
  } catch (...) {
    keepLearnt();
    throw;
  }
  keepLearnt();
  return review;
}

void TForm1::WriteMovie(const QString& path, bool fit) {
  const std::string target = PathFromText(path);
  const std::int32_t width = MovieWidth;  // paint passes may set them meanwhile
  const std::int32_t height = MovieHeight;
  RunWhileWindowLives([&](BuildReporter& reporter) {
    const MovieJob job{PictureList, width, height, MovieStream, Converter, reporter};
    if (fit) {
      PublishMovie(job, {target, std::nullopt, kPlayerFitBox});
    } else {
      ::WriteMovie(job, target);
    }
  });
}

void TForm1::RunWhileWindowLives(const std::function<void(BuildReporter&)>& work) {
  building_ = true;
  menuBar()->setEnabled(false);
  ToolBar1->setEnabled(false);
  const auto release = qScopeGuard([this] {
    building_ = false;
    menuBar()->setEnabled(true);
    ToolBar1->setEnabled(true);
  });
  RunOffTheWindow(work, *this);
}

void TForm1::ShowStopMessage(const QString& text, const QString& details) {
  dialogs_->ShowMessage({kStopCaption, text, MessageBoxText::Icon::Stop, details});
}

// The build runs on a worker while the event loop goes on, which paints
// each change.
void TForm1::ShowProgressPanel(bool visible) {
  PanelBuilding->setVisible(visible);
  if (visible) PanelBuilding->raise();
}

void TForm1::SetProgressMaximum(int maximum) { ProgressBar1->setMaximum(maximum); }

void TForm1::SetProgressPosition(int position) { ProgressBar1->setValue(position); }

void TForm1::SetStatusText(const std::string& text) { StaticText1->setText(QString::fromStdString(text)); }
