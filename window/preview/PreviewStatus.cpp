#include "window/preview/PreviewStatus.h"

#include <QEvent>
#include <QFileInfo>
#include <QLocale>

namespace {

// Often enough for the time to run visibly, seldom enough to cost nothing.
constexpr int kTickMs = 100;

QString Bytes(qint64 count) { return QLocale::c().formattedDataSize(count, 1, QLocale::DataSizeSIFormat); }

// The movie's file name, the bytes read (when loaded is not negative; total
// -1 when not known) and the time so far.
QString LoadingText(const QString& movieName, qint64 loaded, qint64 total, qint64 elapsedMs) {
  QString text = QStringLiteral("Loading the movie \"%1\"\n").arg(movieName);
  if (loaded >= 0) {
    text += total >= 0 ? QStringLiteral("%1 of %2 read, ").arg(Bytes(loaded), Bytes(total))
                       : QStringLiteral("%1 read, ").arg(Bytes(loaded));
  }
  return text + QStringLiteral("%1 s").arg(QLocale::c().toString(static_cast<double>(elapsedMs) / 1000.0, 'f', 1));
}

}  // namespace

PreviewStatus::PreviewStatus(QWidget* parent) : QLabel(parent) {
  setObjectName("PreviewStatus");
  // Paths are shown as they are, never read as markup.
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignCenter);
  setWordWrap(true);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  setMargin(16);
  ticker_.setInterval(kTickMs);
  connect(&ticker_, &QTimer::timeout, this, &PreviewStatus::Update);
  parent->installEventFilter(this);
  hide();
}

void PreviewStatus::ShowLoading(const QString& moviePath) {
  movieName_ = QFileInfo(moviePath).fileName();
  loaded_ = -1;
  total_ = -1;
  clock_.start();
  ticker_.start();
  Update();
  Cover();
}

void PreviewStatus::ShowProgress(qint64 loaded, qint64 total) {
  if (!Loading()) return;
  loaded_ = loaded;
  total_ = total;
  Update();
}

void PreviewStatus::ShowMessage(const QString& text) {
  ticker_.stop();
  setText(text);
  Cover();
}

void PreviewStatus::Finish() {
  ticker_.stop();
  clear();
  hide();
}

void PreviewStatus::Cover() {
  setGeometry(parentWidget()->rect());
  show();
  raise();
}

void PreviewStatus::Update() { setText(LoadingText(movieName_, loaded_, total_, clock_.elapsed())); }

bool PreviewStatus::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  return QLabel::eventFilter(watched, event);
}
