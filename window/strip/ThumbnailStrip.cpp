#include "window/strip/ThumbnailStrip.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "collection/PictureList.h"
#include "collection/PictureReview.h"
#include "window/strip/BackgroundDecodes.h"
#include "window/strip/CanvasPen.h"
#include "window/strip/PicturePlaceholder.h"
#include "window/strip/ThumbnailCache.h"
#include "window/strip/ThumbnailDecoder.h"
#include "window/text/PathText.h"

namespace {

const QColor kGrey(128, 128, 128);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
constexpr int kSelectionPenWidth = 3;
const char* const kSizeMismatch = "One of the image's size(Width or Height) is different!";

int CellLeft(int cell) { return ThumbnailStrip::kCellWidth * cell; }

QRect CellRect(int cell) { return QRect(CellLeft(cell), 0, ThumbnailStrip::kCellWidth, ThumbnailStrip::kHeight); }

// Where a picture is stretched to, exactly over the placeholder.
QRect PictureRect(int cell) { return QRect(CellLeft(cell) + 8, 8, kThumbnailWidth, kThumbnailHeight); }

// The widget's own palette when painting on the strip, the application's
// when painting into an image.
QPalette PaletteOf(const QPainter& painter) {
  if (const auto* widget = dynamic_cast<const QWidget*>(painter.device())) return widget->palette();
  return QApplication::palette();
}

// The text for the user of what made a picture fail the pass.
QString FailureText(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& error) {
    return PathToText(error.what());
  } catch (...) {
    return QStringLiteral("The picture cannot be shown.");
  }
}

// Restores the painter however the pass ends.
class PainterState {
 public:
  explicit PainterState(QPainter& painter) : painter_(painter) { painter_.save(); }
  ~PainterState() { painter_.restore(); }
  PainterState(const PainterState&) = delete;
  PainterState& operator=(const PainterState&) = delete;

 private:
  QPainter& painter_;
};

// The sunken frame: grey top and left edges, white right and bottom ones.
void DrawFrame(CanvasPen& pen, int x0) {
  pen.SetWidth(1);
  pen.SetColor(kGrey);
  pen.MoveTo(x0 + 7, 7);
  pen.LineTo(x0 + 148, 7);
  pen.SetColor(kWhite);
  pen.LineTo(x0 + 148, 138);
  pen.LineTo(x0 + 7, 138);
  pen.SetColor(kGrey);
  pen.LineTo(x0 + 7, 7);
}

// Runs two pixels left of and above the picture but on its last column and
// one row below its last row.
void DrawSelectionFrame(CanvasPen& pen, int x0) {
  pen.SetWidth(kSelectionPenWidth);
  pen.SetColor(kRed);
  pen.MoveTo(x0 + 6, 6);
  pen.LineTo(x0 + 147, 6);
  pen.LineTo(x0 + 147, 137);
  pen.LineTo(x0 + 6, 137);
  pen.LineTo(x0 + 6, 6);
  pen.SetWidth(1);
}

}  // namespace

// What a pass found wrong with one picture.
struct CellNote {
  CellMark Mark = CellMark::None;
  QString Text;
};

struct ThumbnailStrip::Impl {
  Impl()
      : placeholder(PicturePlaceholder()),
        font(QStringLiteral("MS Sans Serif")),
        decodes([this](const FileStamp& file, ThumbnailOutcome outcome) {
          cache.Keep(file, std::move(outcome));
          if (decoded) decoded();
        }) {
    // The window's font; where it is missing Qt falls back to a sans-serif.
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(true);
  }

  void Pass(QPainter& painter, const QRect& exposed, const PictureList& pictures, StripHost& host);
  void MeasureAndDraw(QPainter& painter, CanvasPen& pen, const QRect& exposed, const PictureList& pictures,
                      StripHost& host, int& reached);
  void DrawIndexNumbers(QPainter& painter, const QPalette& palette, int firstShown, int lastShown);
  // The warnings known for a picture that the movie can be made of.
  CellNote WarningsOf(const FileStamp& file, const JpegFrame& frame);

  QImage placeholder;
  QFont font;
  ThumbnailCache cache;
  std::function<void()> decoded;
  BackgroundDecodes decodes;    // after the cache, which its deliveries fill
  std::vector<CellNote> notes;  // the last pass's, one per picture
};

void ThumbnailStrip::Impl::Pass(QPainter& painter, const QRect& exposed, const PictureList& pictures, StripHost& host) {
  const PainterState state(painter);
  const QPalette palette = PaletteOf(painter);
  painter.setClipRect(exposed, Qt::IntersectClip);
  painter.fillRect(exposed, palette.button());

  // Only the cells that meet the exposed area are drawn; every picture is
  // still measured.
  const int cells = pictures.Count() + 1;
  const int firstShown = std::max(0, exposed.left() / kCellWidth);
  const int lastShown = exposed.right() < 0 ? -1 : std::min(cells - 1, exposed.right() / kCellWidth);

  CanvasPen pen(painter);
  for (int i = firstShown; i <= lastShown; ++i) {
    DrawFrame(pen, CellLeft(i));
    painter.drawImage(PictureRect(i).topLeft(), placeholder);
  }
  notes.assign(static_cast<std::size_t>(pictures.Count()), CellNote());
  int reached = 0;
  try {
    MeasureAndDraw(painter, pen, exposed, pictures, host, reached);
  } catch (...) {
    // The failing picture ends the pass where it stands, without numbers;
    // its cell is marked and says why.
    notes[static_cast<std::size_t>(reached)] = {CellMark::Refused, FailureText(std::current_exception())};
    if (CellRect(reached).intersects(exposed)) DrawCellMark(painter, CellLeft(reached), CellMark::Refused);
    return;
  }
  DrawIndexNumbers(painter, palette, firstShown, lastShown);
}

// Throws when a picture cannot be measured or, where it is shown, decoded;
// what was drawn and reported up to that picture stays.
void ThumbnailStrip::Impl::MeasureAndDraw(QPainter& painter, CanvasPen& pen, const QRect& exposed,
                                          const PictureList& pictures, StripHost& host, int& reached) {
  // The status text and Build are set by the first picture that passes the
  // size test and again by the first that fails it; the pictures in between
  // would set them to what they already are.
  bool passed = false;
  bool mismatch = false;
  for (int i = 0; i < pictures.Count(); ++i) {
    reached = i;
    const PictureEntry& entry = pictures.At(i);
    CellNote& note = notes[static_cast<std::size_t>(i)];
    const FileStamp file = StampOf(entry.Path);
    const JpegFrame frame = cache.Measure(file);
    const JpegSize size = frame.Size;
    const bool shown = CellRect(i).intersects(exposed);
    QImage thumbnail;
    if (PictureRect(i).intersects(exposed)) {
      if (std::optional<QImage> known = cache.KnownThumbnail(file)) {
        thumbnail = std::move(*known);
      } else {
        decodes.Request(file);
      }
    }

    if (i == 0) host.SetMovieSize(size.Width, size.Height);
    const JpegSize movie{host.MovieWidth(), host.MovieHeight()};
    if (size == movie) {
      if (!passed && !mismatch) {
        host.SetStatusText(QString());
        host.SetBuildEnabled(true);
        passed = true;
      }
    } else if (!mismatch) {
      host.SetStatusText(QString::fromLatin1(kSizeMismatch));
      host.SetBuildEnabled(false);
      mismatch = true;
    }
    // The cell says what a build would say of the picture.
    if (const auto refusal = FrameRefusal(frame, movie, pictures.At(0).Path)) {
      note = {CellMark::Refused, PathToText(entry.Path + ": " + *refusal)};
    } else {
      note = WarningsOf(file, frame);
    }

    if (!thumbnail.isNull()) painter.drawImage(PictureRect(i), thumbnail);
    if (shown && entry.Selected) DrawSelectionFrame(pen, CellLeft(i));
    if (shown) DrawCellMark(painter, CellLeft(i), note.Mark);
  }
}

CellNote ThumbnailStrip::Impl::WarningsOf(const FileStamp& file, const JpegFrame& frame) {
  QStringList lines;
  for (const std::string& reason : FrameWarnings(frame)) lines << PathToText(file.Path + ": " + reason);
  if (const std::optional<std::string>* problem = cache.KnownScanProblem(file); problem && *problem) {
    lines << PathToText(file.Path + ": " + **problem);
  }
  if (lines.isEmpty()) return {};
  return {CellMark::Warning, lines.join('\n')};
}

// Every cell's number, the empty cell's included, over everything else.
void ThumbnailStrip::Impl::DrawIndexNumbers(QPainter& painter, const QPalette& palette, int firstShown, int lastShown) {
  painter.setFont(font);
  painter.setPen(palette.windowText().color());
  const QFontMetrics metrics = painter.fontMetrics();
  for (int i = firstShown; i <= lastShown; ++i) {
    const QString number = QString::number(i + 1);
    const QPoint topLeft(CellLeft(i) + 10, 10);
    painter.fillRect(QRect(topLeft, QSize(metrics.horizontalAdvance(number), metrics.height())), palette.button());
    painter.drawText(topLeft + QPoint(0, metrics.ascent()), number);
  }
}

ThumbnailStrip::ThumbnailStrip() : impl_(std::make_unique<Impl>()) {}

// Here, where Impl is whole.
ThumbnailStrip::~ThumbnailStrip() = default;

void ThumbnailStrip::Paint(QPainter& painter, const QRect& exposed, const PictureList& pictures, StripHost& host) {
  try {
    impl_->Pass(painter, exposed, pictures, host);
  } catch (...) {
    // A pass is never reported in a message box: a picture that fails is
    // marked on its cell, and whatever else goes wrong while painting (out
    // of memory) leaves the strip as far as it was drawn. The next pass
    // tries again from the first picture.
  }
}

void ThumbnailStrip::WhenDecoded(std::function<void()> repaint) { impl_->decoded = std::move(repaint); }

bool ThumbnailStrip::Decoding() const { return impl_->decodes.Busy(); }

ThumbnailStrip::ScanLookup ThumbnailStrip::LookUpScanProblem(const std::string& path) {
  ScanLookup lookup{StampOf(path), std::nullopt, false};
  if (const std::optional<std::string>* known = impl_->cache.KnownScanProblem(lookup.File)) {
    lookup.Known = *known;
  } else {
    lookup.Failed = impl_->cache.Failed(lookup.File);
  }
  return lookup;
}

void ThumbnailStrip::KeepScanProblem(const FileStamp& file, std::optional<std::string> problem) {
  impl_->cache.KeepScanProblem(file, std::move(problem));
}

QString ThumbnailStrip::ProblemAt(int x) const {
  const int picture = HitTest(x, static_cast<int>(impl_->notes.size()));
  return picture < 0 ? QString() : impl_->notes[static_cast<std::size_t>(picture)].Text;
}

int ThumbnailStrip::HitTest(int x, int count) {
  if (x < 0) return -1;
  const int cell = x / kCellWidth;
  const int inCell = x - CellLeft(cell);
  return cell < count && inCell > 7 && inCell < 147 ? cell : -1;
}

Qt::CursorShape ThumbnailStrip::CursorAt(int x, int count) {
  return HitTest(x, count) >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor;
}
