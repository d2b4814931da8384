#pragma once
// The thumbnail strip's paint pass, hit test and cursor. The pass also
// measures the pictures: the first one fixes the movie size, and a picture of
// another size blocks the Build command.

#include <QPainter>
#include <QRect>
#include <QString>
#include <Qt>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "window/strip/CellMark.h"
#include "window/strip/ThumbnailCache.h"

class PictureList;

// What a paint pass reads and writes in the main window.
class StripHost {
 public:
  virtual ~StripHost() = default;
  virtual int MovieWidth() const = 0;
  virtual int MovieHeight() const = 0;
  virtual void SetMovieSize(int width, int height) = 0;
  virtual void SetStatusText(const QString& text) = 0;
  virtual void SetBuildEnabled(bool enabled) = 0;
};

class ThumbnailStrip {
 public:
  static constexpr int kCellWidth = 160;
  static constexpr int kHeight = 144;
  static constexpr int kStartWidth = 858;

  ThumbnailStrip();
  ~ThumbnailStrip();
  ThumbnailStrip(const ThumbnailStrip&) = delete;
  ThumbnailStrip& operator=(const ThumbnailStrip&) = delete;

  // One paint pass: draws the cells that meet `exposed` and measures every
  // picture, reporting through host. Never throws: a picture that fails ends
  // the pass at its place, and its cell is marked with the reason. A picture
  // not decoded yet shows the placeholder while a worker decodes it; its
  // decode failing ends the passes after that at its place.
  void Paint(QPainter& painter, const QRect& exposed, const PictureList& pictures, StripHost& host);

  // Called on the strip's thread each time a thumbnail has been decoded (or
  // failed to), so that the owner paints the strip again.
  void WhenDecoded(std::function<void()> repaint);
  // Whether thumbnails asked for by a pass are still being decoded.
  bool Decoding() const;

  // What a build's check, run off the strip's thread, takes from the strip
  // about a picture's data: the file as it is now; what is wrong with it when
  // known (the decoder's word from the thumbnail, or an earlier check's);
  // else whether it failed, for FindScanProblem.
  struct ScanLookup {
    FileStamp File;
    std::optional<std::optional<std::string>> Known;
    bool Failed = false;
  };
  // Throws FileOpenError when the file cannot be examined.
  ScanLookup LookUpScanProblem(const std::string& path);
  // Keeps what a check found, so that the picture's cell says it and no
  // later check reads the file again.
  void KeepScanProblem(const FileStamp& file, std::optional<std::string> problem);

  // What the last pass found wrong with the picture under strip x
  // coordinate x, one sentence a line naming the picture; empty for a
  // picture without problems, gaps and the empty cell.
  QString ProblemAt(int x) const;

  // The picture under strip x coordinate x, or -1 (gaps, the empty cell).
  static int HitTest(int x, int count);
  // The hand over a picture, the arrow elsewhere.
  static Qt::CursorShape CursorAt(int x, int count);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
