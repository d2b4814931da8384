#include "window/preview/PreviewStatus.h"

#include <QEvent>
#include <QFileInfo>
#include <QLocale>

#include "window/text/PlainText.h"

namespace {

// Often enough for the time to run visibly, seldom enough to cost nothing.
constexpr int kTickMs = 100;

QString Bytes(qint64 count) { return QLocale::c().formattedDataSize(count, 1, QLocale::DataSizeSIFormat); }

// What the player works at once it has every byte: the pictures it decodes
// (as many as the list held; 0 when not known) at the movie's size.
QString PreparingText(int pictures, QSize size) {
  const QString pixels = QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
  if (pictures <= 0) return QStringLiteral("the player is preparing the movie of %1 \u2026").arg(pixels);
  return QStringLiteral("the player is preparing %1 %2 of %3 \u2026")
      .arg(pictures)
      .arg(pictures == 1 ? QStringLiteral("picture") : QStringLiteral("pictures"), pixels);
}

// The movie's file name, the bytes read or what the player prepares, and
// the time so far.
QString LoadingText(const LoadingState& state, qint64 elapsedMs) {
  QString text = QStringLiteral("Loading the movie \"%1\"\n").arg(state.movieName);
  if (state.loaded >= 0 && state.loaded == state.total) {
    text += QStringLiteral("%1 read; %2 ").arg(Bytes(state.loaded), PreparingText(state.pictures, state.size));
  } else if (state.loaded >= 0) {
    text += state.total >= 0 ? QStringLiteral("%1 of %2 read, ").arg(Bytes(state.loaded), Bytes(state.total))
                             : QStringLiteral("%1 read, ").arg(Bytes(state.loaded));
  }
  return text + QStringLiteral("%1 s").arg(QLocale::c().toString(static_cast<double>(elapsedMs) / 1000.0, 'f', 1));
}

}  // namespace

PreviewStatus::PreviewStatus(QWidget* parent) : QLabel(parent) {
  setObjectName("PreviewStatus");
  ShowPlainText(*this);
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

void PreviewStatus::ShowLoading(const QString& moviePath, int pictures, QSize size) {
  state_ = {QFileInfo(moviePath).fileName(), pictures, size};
  clock_.start();
  ticker_.start();
  Update();
  Cover();
}

void PreviewStatus::ShowProgress(qint64 loaded, qint64 total) {
  if (!Loading()) return;
  state_.loaded = loaded;
  state_.total = total;
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

void PreviewStatus::Update() { setText(LoadingText(state_, clock_.elapsed())); }

bool PreviewStatus::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  return QLabel::eventFilter(watched, event);
}
