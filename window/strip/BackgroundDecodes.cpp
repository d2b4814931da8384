#include "window/strip/BackgroundDecodes.h"

#include <QMetaObject>
#include <QThreadPool>
#include <mutex>

// What a decode running on a worker shares with the strip: where to hand the
// outcome, until the strip is gone.
struct BackgroundDecodes::Link {
  std::mutex lock;
  QObject* receiver = nullptr;

  bool Alive() {
    const std::lock_guard<std::mutex> held(lock);
    return receiver != nullptr;
  }
};

BackgroundDecodes::BackgroundDecodes(Delivery deliver)
    : deliver_(std::move(deliver)), receiver_(std::make_unique<QObject>()), link_(std::make_shared<Link>()) {
  link_->receiver = receiver_.get();
}

BackgroundDecodes::~BackgroundDecodes() {
  const std::lock_guard<std::mutex> held(link_->lock);
  link_->receiver = nullptr;
}

void BackgroundDecodes::Request(const FileStamp& file) {
  if (!pending_.insert(file).second) return;
  QThreadPool::globalInstance()->start([link = link_, file, this] {
    if (!link->Alive()) return;
    auto outcome = std::make_shared<ThumbnailOutcome>(DecodeForStrip(file.Path));
    // Posted under the lock, so the receiver cannot go while the call is
    // queued; a receiver that goes later takes its queued calls with it.
    const std::lock_guard<std::mutex> held(link->lock);
    if (!link->receiver) return;
    QMetaObject::invokeMethod(
        link->receiver,
        [this, file, outcome] {
          pending_.erase(file);
          deliver_(file, std::move(*outcome));
        },
        Qt::QueuedConnection);
  });
}
