#pragma once
// What the preview area says instead of the movie: that it is loading (its
// name, how much of it has been read or, once all of it is, what the player
// prepares, the time so far), or a plain message when it cannot be shown.
// It covers its parent, the preview area, whole.

#include <QElapsedTimer>
#include <QLabel>
#include <QSize>
#include <QString>
#include <QTimer>

// What is known of a movie that loads.
struct LoadingState {
  QString movieName;
  int pictures = 0;  // 0 when not known
  QSize size;
  qint64 loaded = -1;  // bytes read; -1 before the first report
  qint64 total = -1;   // -1 when not known
};

class PreviewStatus : public QLabel {
  Q_OBJECT

 public:
  explicit PreviewStatus(QWidget* parent);

  // Starts saying that the movie at moviePath, of that many pictures of
  // that size, is loading, from now on.
  void ShowLoading(const QString& moviePath, int pictures, QSize size);
  // How much of it has been read; total is -1 when not known.
  void ShowProgress(qint64 loaded, qint64 total);
  // Replaces whatever it says with a plain message.
  void ShowMessage(const QString& text);
  // The movie is on the screen: says nothing and gets out of the way.
  void Finish();

  bool Loading() const { return ticker_.isActive(); }
  QString Text() const { return text(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Cover();
  void Update();

  LoadingState state_;
  QElapsedTimer clock_;
  QTimer ticker_;
};
