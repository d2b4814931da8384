// The Build command: the format check, the save dialog and the hand-over to
// the movie writer, with the progress panel the writer drives.

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>

#include "collection/Errors.h"
#include "window/main/PathText.h"
#include "window/main/Unit1.h"
#include "window/dialogs/WindowDialogs.h"

namespace {

const char* const kStopCaption = "Stop - Orbilux Rezeved2.0";

}  // namespace

void TForm1::Build1Click() { RunBuild(); }

void TForm1::RunBuild() {
  RunRefusingInStopBox([this] {
    CheckPicturesBuildable();
    const std::optional<QString> path = dialogs_->SaveMoviePath();
    if (!path) return;
    OutputPath = *path;
    ToolButton6->setEnabled(true);
    try {
      WriteMovie(OutputPath);
    } catch (...) {
      // A failed build leaves no progress panel standing over the window.
      ShowProgressPanel(false);
      throw;
    }
  });
}

// A list the movie cannot be made of is refused in the stop message box, both
// before the save dialog and when the writer finds a picture of another size
// or of a format the players do not show; every other error goes on to the
// general error report.
void TForm1::RunRefusingInStopBox(const std::function<void()>& build) {
  try {
    build();
  } catch (const PictureMismatchError& refusal) {
    ShowStopMessage(QString::fromUtf8(refusal.what()));
  } catch (const NoPicturesError& refusal) {
    ShowStopMessage(QString::fromUtf8(refusal.what()));
  } catch (const PictureFormatError&) {
    ShowStopMessage(QString::fromUtf8(PictureMismatchError().what()));
  }
}

void TForm1::CheckPicturesBuildable() const {
  // An empty list would make a movie of nothing; say so before asking for a file.
  if (PictureList.Count() == 0) throw NoPicturesError();
  if (!PictureList.AllPicturesAreJpeg()) throw PictureMismatchError();
}

void TForm1::WriteMovie(const QString& path) {
  ::WriteMovie(PictureList, MovieWidth, MovieHeight, PathFromText(path), MovieStream,
               Converter, *this);
}

void TForm1::ShowStopMessage(const QString& text) {
  dialogs_->ShowMessage({kStopCaption, text, MessageBoxText::Icon::Stop});
}

// The build runs without returning to the event loop, so each change is
// painted at once.
void TForm1::ShowProgressPanel(bool visible) {
  PanelBuilding->setVisible(visible);
  if (visible) {
    PanelBuilding->raise();
    PanelBuilding->repaint();
  }
}

void TForm1::SetProgressMaximum(int maximum) {
  ProgressBar1->setMaximum(maximum);
  ProgressBar1->repaint();
}

void TForm1::SetProgressPosition(int position) {
  ProgressBar1->setValue(position);
  ProgressBar1->repaint();
}

void TForm1::SetStatusText(const std::string& text) {
  StaticText1->setText(QString::fromStdString(text));
  StaticText1->repaint();
}
