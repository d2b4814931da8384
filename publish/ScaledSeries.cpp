#include "publish/ScaledSeries.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "collection/PictureFile.h"

namespace {

// How many pictures each worker may be ahead of the one handed on.
constexpr std::size_t kAheadPerWorker = 2;

std::vector<std::vector<std::uint8_t>> ScaledFile(const std::string& path, const TargetsFor& targets) {
  PictureFile file(path);
  std::vector<std::uint8_t> jpeg(static_cast<std::size_t>(file.Size()));
  file.ReadExactly(jpeg);
  return ScalePicture(jpeg, targets(UprightSize(jpeg, path)), path);
}

}  // namespace

void ScaleSeries(const std::vector<std::string>& paths, const TargetsFor& targets, const ScaledTake& take) {
  const std::size_t workers =
      std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, std::max<std::size_t>(1, paths.size()));
  std::mutex lock;
  std::condition_variable changed;
  std::size_t next = 0;    // the next picture a worker takes
  std::size_t handed = 0;  // the next picture handed on
  std::map<std::size_t, std::vector<std::vector<std::uint8_t>>> done;
  std::exception_ptr failure;
  bool stopping = false;

  const auto work = [&] {
    for (;;) {
      std::size_t i = 0;
      {
        std::unique_lock held(lock);
        changed.wait(held,
                     [&] { return stopping || next >= paths.size() || next < handed + workers * kAheadPerWorker; });
        if (stopping || next >= paths.size()) return;
        i = next++;
      }
      try {
        auto files = ScaledFile(paths[i], targets);
        const std::lock_guard held(lock);
        done.emplace(i, std::move(files));
      } catch (...) {
        const std::lock_guard held(lock);
        if (!failure) failure = std::current_exception();
        stopping = true;
      }
      changed.notify_all();
    }
  };
  std::vector<std::thread> threads;
  for (std::size_t k = 0; k < workers; ++k) threads.emplace_back(work);

  try {
    while (handed < paths.size()) {
      std::vector<std::vector<std::uint8_t>> files;
      {
        std::unique_lock held(lock);
        changed.wait(held, [&] { return stopping || done.contains(handed); });
        if (stopping) break;
        files = std::move(done.at(handed));
        done.erase(handed);
      }
      take(handed, files);
      {
        const std::lock_guard held(lock);
        ++handed;
      }
      changed.notify_all();
    }
  } catch (...) {
    const std::lock_guard held(lock);
    if (!failure) failure = std::current_exception();
    stopping = true;
  }
  changed.notify_all();
  for (std::thread& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
}
