// The main window's commands: the imports, New, the list's toolbar buttons,
// the strip's mouse handling, Exit and About.

#include <QAction>
#include <QLabel>

#include "collection/FolderScan.h"
#include "window/main/PathText.h"
#include "window/strip/PaintBox.h"
#include "window/main/Unit1.h"
#include "window/dialogs/WindowDialogs.h"

void TForm1::New1Click() {
  PictureList.ClearPictures();
  Build1->setEnabled(false);
  RepaintStrip();
}

void TForm1::Load1Click() {
  const std::optional<QStringList> chosen = dialogs_->OpenPictures();
  if (!chosen) return;
  for (const QString& path : *chosen) AddPictureAndGrow(PathFromText(path));
  RepaintStrip();
}

void TForm1::FullFolder1Click() {
  dialogs_->RunFolderChooser();
  if (ImportFolder.isEmpty()) return;
  // The scan's paths go into the list as the bytes it found.
  const std::vector<std::string> found = ScanFolder(PathFromText(ImportFolder));
  for (const std::string& path : found) AddPictureAndGrow(path);
  RepaintStrip();
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

void TForm1::ToolButton2Click() {
  if (PictureList.MovePrevious()) RepaintStrip();
}

void TForm1::ToolButton3Click() {
  if (PictureList.MoveNext()) RepaintStrip();
}

void TForm1::PaintBox1Paint(QPainter& painter, const QRect& exposed) {
  strip_.Paint(painter, exposed, PictureList, *stripLink_);
}

void TForm1::PaintBox1MouseMove(int x) { PaintBox1->setCursor(ThumbnailStrip::CursorAt(x, PictureList.Count())); }

void TForm1::PaintBox1MouseDown(int x) {
  PictureList.SelectAt(ThumbnailStrip::HitTest(x, PictureList.Count()));
  RepaintStrip();
}

// The strip keeps its own width whatever the scroll box's size.
void TForm1::ScrollBox1Resize() {}

void TForm1::AddPictureAndGrow(const std::string& path) {
  PictureList.AddPicture(path);
  const int needed = PictureList.Count() * ThumbnailStrip::kCellWidth + 140;
  if (PaintBox1->width() < needed) {
    PaintBox1->resize(PaintBox1->width() + ThumbnailStrip::kCellWidth, PaintBox1->height());
  }
}

// Several changes in one command cost one paint pass.
void TForm1::RepaintStrip() { PaintBox1->update(); }
