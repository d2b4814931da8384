#pragma once
// The open-file dialog's preview pane: the picture under the cursor, decoded
// straight at the pane's size so that even a huge photo loads quickly.

#include <QLabel>
#include <QString>

class PicturePreview : public QLabel {
  Q_OBJECT

 public:
  static constexpr int kSide = 200;

  explicit PicturePreview(QWidget* parent = nullptr);

  // Shows the picture at path fitted into kSide x kSide, keeping its shape;
  // anything that is not a readable picture shows a plain note.
  void ShowPicture(const QString& path);
};
