#include "window/main/BuildThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <exception>
#include <memory>

namespace {

// Hands every call on to the window's thread, queued in the order made.
class ForwardingReporter : public BuildReporter {
 public:
  ForwardingReporter(BuildReporter& window, QObject& context) : window_(window), context_(context) {}

  void ShowProgressPanel(bool visible) override {
    Post([this, visible] { window_.ShowProgressPanel(visible); });
  }
  void SetProgressMaximum(int maximum) override {
    Post([this, maximum] { window_.SetProgressMaximum(maximum); });
  }
  void SetProgressPosition(int position) override {
    Post([this, position] { window_.SetProgressPosition(position); });
  }
  void SetStatusText(const std::string& text) override {
    Post([this, text] { window_.SetStatusText(text); });
  }

 private:
  template <typename Call>
  void Post(Call call) {
    QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
  }

  BuildReporter& window_;
  QObject& context_;
};

}  // namespace

void RunOffTheWindow(const std::function<void(BuildReporter&)>& work, BuildReporter& window) {
  QObject relay;  // lives on this thread, where the reports are delivered
  ForwardingReporter forward(window, relay);
  std::exception_ptr failure;
  const std::unique_ptr<QThread> thread(QThread::create([&] {
    try {
      work(forward);
    } catch (...) {
      failure = std::current_exception();
    }
  }));
  QEventLoop loop;
  // Queued after everything the work reported, so the loop ends after it.
  QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  thread->start();
  loop.exec();
  // The loop also ends when the application quits; the work still ends first.
  thread->wait();
  QCoreApplication::sendPostedEvents(&relay, QEvent::MetaCall);
  if (failure) std::rethrow_exception(failure);
}
