#pragma once
// What the preview area says instead of the movie: that it is loading (its
// name, how much of it has been read, the time so far), or a plain message
// when it cannot be shown. It covers its parent, the preview area, whole.

#include <QElapsedTimer>
#include <QLabel>
#include <QString>
#include <QTimer>

class PreviewStatus : public QLabel {
  Q_OBJECT

 public:
  explicit PreviewStatus(QWidget* parent);

  // Starts saying that the movie at moviePath is loading, from now on.
  void ShowLoading(const QString& moviePath);
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

  QString movieName_;
  qint64 loaded_ = -1;
  qint64 total_ = -1;
  QElapsedTimer clock_;
  QTimer ticker_;
};
