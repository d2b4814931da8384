#pragma once
// Decodes the strip's thumbnails on worker threads, so that no picture, however
// slow to decode, holds up the window. Each outcome is handed back on the
// thread that asked for it, through its event loop.

#include <QObject>
#include <functional>
#include <memory>
#include <unordered_set>

#include "window/strip/ThumbnailCache.h"

class BackgroundDecodes {
 public:
  using Delivery = std::function<void(const FileStamp& file, ThumbnailOutcome outcome)>;

  // deliver runs on the constructing thread, once per request, when its
  // event loop next runs after the decode ended.
  explicit BackgroundDecodes(Delivery deliver);
  // Decodes still running finish unheard; those not yet started are skipped.
  ~BackgroundDecodes();
  BackgroundDecodes(const BackgroundDecodes&) = delete;
  BackgroundDecodes& operator=(const BackgroundDecodes&) = delete;

  // Starts decoding the file unless it is being decoded already.
  void Request(const FileStamp& file);
  // Whether a requested outcome is still to be delivered.
  bool Busy() const { return !pending_.empty(); }

 private:
  struct Link;

  Delivery deliver_;
  std::unique_ptr<QObject> receiver_;
  std::shared_ptr<Link> link_;
  std::unordered_set<FileStamp, FileStampHash> pending_;
};
