#include "window/dialogs/PicturePreview.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

PicturePreview::PicturePreview(QWidget* parent) : QLabel(parent) {
  setFixedSize(kSide + 4, kSide + 4);
  setAlignment(Qt::AlignCenter);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setText("No preview");
}

void PicturePreview::ShowPicture(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    clear();
    setText("No preview");
    return;
  }
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QSize full = reader.size();
  if (full.isValid()) {
    // The JPEG decoder scales while it decodes, so the full picture is never held.
    reader.setScaledSize(full.scaled(kSide, kSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
  }
  const QImage picture = reader.read();
  if (picture.isNull()) {
    clear();
    setText("No preview");
    return;
  }
  setPixmap(QPixmap::fromImage(picture));
}
