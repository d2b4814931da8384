// The main window's commands: the imports (by dialog, by folder and by drag
// and drop), New, the list's toolbar buttons and keys, the strip's mouse
// handling, Exit and About.

#include <QAction>
#include <QDropEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <optional>

#include "collection/FolderScan.h"
#include "window/dialogs/WindowDialogs.h"
#include "window/main/Unit1.h"
#include "window/strip/PaintBox.h"
#include "window/text/PathText.h"

namespace {

// The local files and folders among dropped addresses, in their order.
std::vector<std::string> DroppedPaths(const QMimeData& data) {
  std::vector<std::string> paths;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) paths.push_back(PathFromUrl(url));
  }
  return paths;
}

}  // namespace

void TForm1::New1Click() {
  PictureList.ClearPictures();
  ClosePreview();
  Build1->setEnabled(false);
  // The strip keeps its width; the next import starts at its left end.
  ScrollBox1->horizontalScrollBar()->setValue(0);
  RepaintStrip();
}

void TForm1::Load1Click() {
  const std::optional<QStringList> chosen = dialogs_->OpenPictures();
  if (!chosen) return;
  std::vector<std::string> paths;
  for (const QString& path : *chosen) paths.push_back(PathFromText(path));
  ImportPictures(paths);
}

void TForm1::FullFolder1Click() {
  dialogs_->RunFolderChooser();
  if (ImportFolder.isEmpty()) return;
  // The scan's paths go into the list as the bytes it found.
  const std::vector<std::string> found = ScanFolder(PathFromText(ImportFolder));
  if (found.empty()) {
    SayFolderHasNoPictures(ImportFolder);
    return;
  }
  ImportPictures(found);
}

void TForm1::FormDragDrop(const std::vector<std::string>& paths) {
  // Every folder is scanned before anything is added, so a folder that
  // cannot be read leaves the list as it was.
  std::vector<std::string> found;
  std::optional<std::string> emptyFolder;
  for (const std::string& path : paths) {
    std::error_code notAFolder;
    if (!std::filesystem::is_directory(path, notAFolder)) {
      found.push_back(path);
      continue;
    }
    const std::vector<std::string> inFolder = ScanFolder(path);
    if (inFolder.empty()) emptyFolder = path;
    found.insert(found.end(), inFolder.begin(), inFolder.end());
  }
  if (!found.empty()) {
    ImportPictures(found);
  } else if (emptyFolder) {
    SayFolderHasNoPictures(PathToText(*emptyFolder));
  }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!building_ && !DroppedPaths(*event->mimeData()).empty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = DroppedPaths(*event->mimeData());
  if (building_ || paths.empty()) return;
  event->acceptProposedAction();
  Run([this, &paths] { FormDragDrop(paths); });
}

void TForm1::exit1Click() { close(); }

void TForm1::Aboutus1Click() { dialogs_->ShowAbout(); }

void TForm1::ToolButton1Click() {
  if (!PictureList.DeleteSelected()) return;
  // Narrowed by one cell even below the scroll box's width: the strip stays
  // exactly as wide as imports made it, less the cells deleted.
  PaintBox1->resize(PaintBox1->width() - ThumbnailStrip::kCellWidth, PaintBox1->height());
  RepaintStrip();
}

// A moved picture stays in view, however often it is moved.
void TForm1::ToolButton2Click() {
  if (!PictureList.MovePrevious()) return;
  ScrollToPicture(PictureList.SelectedIndex());
  RepaintStrip();
}

void TForm1::ToolButton3Click() {
  if (!PictureList.MoveNext()) return;
  ScrollToPicture(PictureList.SelectedIndex());
  RepaintStrip();
}

void TForm1::PaintBox1Paint(QPainter& painter, const QRect& exposed) {
  strip_.Paint(painter, exposed, PictureList, *stripLink_);
}

void TForm1::PaintBox1MouseMove(int x) { PaintBox1->setCursor(ThumbnailStrip::CursorAt(x, PictureList.Count())); }

QString TForm1::PaintBox1ToolTip(int x) const { return strip_.ProblemAt(x); }

void TForm1::PaintBox1MouseDown(int x) {
  if (building_) return;
  PictureList.SelectAt(ThumbnailStrip::HitTest(x, PictureList.Count()));
  RepaintStrip();
}

// The keys run the toolbar's own commands, so they behave exactly as the
// buttons do; the menus have no shortcut keys.
bool TForm1::PaintBox1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (building_) return false;
  const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
  if (held == Qt::NoModifier) {
    switch (key) {
      case Qt::Key_Delete: ToolButton1->trigger(); return true;
      case Qt::Key_Left: SelectBeside(-1); return true;
      case Qt::Key_Right: SelectBeside(1); return true;
      default: return false;
    }
  }
  if (held == Qt::ControlModifier) {
    switch (key) {
      case Qt::Key_Left: ToolButton2->trigger(); return true;
      case Qt::Key_Right: ToolButton3->trigger(); return true;
      default: return false;
    }
  }
  return false;
}

void TForm1::SelectBeside(int step) {
  const int count = PictureList.Count();
  const int current = PictureList.SelectedIndex();
  if (count == 0) return;
  const int next = current < 0 ? (step > 0 ? 0 : count - 1) : std::clamp(current + step, 0, count - 1);
  if (next == current) return;
  PictureList.SelectAt(next);
  ScrollToPicture(next);
  RepaintStrip();
}

// The strip keeps its own width whatever the scroll box's size.
void TForm1::ScrollBox1Resize() {}

void TForm1::ImportPictures(const std::vector<std::string>& paths) {
  const int first = PictureList.Count();
  for (const std::string& path : paths) AddPictureAndGrow(path);
  if (PictureList.Count() > first) ScrollToPicture(first);
  RepaintStrip();
}

void TForm1::AddPictureAndGrow(const std::string& path) {
  PictureList.AddPicture(path);
  const int needed = PictureList.Count() * ThumbnailStrip::kCellWidth + 140;
  if (PaintBox1->width() < needed) {
    PaintBox1->resize(PaintBox1->width() + ThumbnailStrip::kCellWidth, PaintBox1->height());
  }
}

void TForm1::ScrollToPicture(int index) {
  const int halfCell = ThumbnailStrip::kCellWidth / 2;
  ScrollBox1->ensureVisible(index * ThumbnailStrip::kCellWidth + halfCell, ThumbnailStrip::kHeight / 2, halfCell, 0);
}

void TForm1::SayFolderHasNoPictures(const QString& folder) {
  // The folder's middle gives way so that the whole sentence fits the box.
  const QString sentence = QStringLiteral("No JPEG pictures in \"%1\"");
  const QFontMetrics metrics(StaticText1->font());
  const int room = StaticText1->contentsRect().width() - metrics.horizontalAdvance(sentence.arg(QString())) - 4;
  StaticText1->setText(sentence.arg(metrics.elidedText(folder, Qt::ElideMiddle, room)));
}

// Several changes in one command cost one paint pass.
void TForm1::RepaintStrip() { PaintBox1->update(); }
