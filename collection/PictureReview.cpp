#include "collection/PictureReview.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <thread>

#include "collection/ScanCheck.h"

namespace {

std::string SizeText(JpegSize size) {
  return std::to_string(size.Width) + " x " + std::to_string(size.Height);
}

std::string SizeMismatchReason(JpegSize picture, JpegSize movie, const std::string& firstPath) {
  return SizeText(picture) + ", but the movie is " + SizeText(movie) + " (the size of " + firstPath + ")";
}

// Runs task(0) to task(count - 1) on up to `workers` threads, this one
// included; task must not throw.
void RunOnWorkers(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& task) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < count; i = next++) task(i);
  };
  std::vector<std::jthread> helpers;
  for (std::size_t t = 1; t < std::min<std::size_t>(workers, count); ++t) helpers.emplace_back(work);
  work();
}

PictureReview Review(const PictureList& pictures, const ScanChecker& scans, unsigned workers) {
  PictureReview review;
  struct Passed {
    const std::string* Path;
    std::vector<std::string> Warnings;
    std::optional<std::string> Problem;
    std::exception_ptr Failure;
  };
  std::vector<Passed> passed;
  for (int i = 0; i < pictures.Count(); ++i) {
    const std::string& path = pictures.At(i).Path;
    JpegFrame frame;
    try {
      frame = ReadJpegFrame(path);
    } catch (const JpegHeaderError& refused) {
      review.Refusals.push_back({path, refused.Reason()});
      continue;
    }
    // The movie takes the first picture's size; with the first refused
    // there is no size to compare with.
    if (i == 0) review.MovieSize = frame.Size;
    const JpegSize movie = review.MovieSize.Width > 0 ? review.MovieSize : frame.Size;
    if (auto reason = FrameRefusal(frame, movie, pictures.At(0).Path)) {
      review.Refusals.push_back({path, std::move(*reason)});
      continue;
    }
    passed.push_back({&path, FrameWarnings(frame), std::nullopt, nullptr});
  }

  RunOnWorkers(passed.size(), workers, [&](std::size_t k) {
    try {
      passed[k].Problem = scans(*passed[k].Path);
    } catch (...) {
      passed[k].Failure = std::current_exception();
    }
  });
  for (Passed& picture : passed) {
    if (picture.Failure) std::rethrow_exception(picture.Failure);
    if (picture.Problem) picture.Warnings.push_back(std::move(*picture.Problem));
    for (std::string& reason : picture.Warnings) review.Warnings.push_back({*picture.Path, std::move(reason)});
  }
  return review;
}

PictureReview RefuseOrPass(PictureReview review, bool strict) {
  if (strict && !review.Warnings.empty()) {
    review.Refusals.insert(review.Refusals.end(), review.Warnings.begin(), review.Warnings.end());
    review.Warnings.clear();
  }
  if (!review.Refusals.empty()) throw PictureMismatchError(review.Refusals, review.Warnings);
  return review;
}

}  // namespace

std::optional<std::string> FrameRefusal(const JpegFrame& frame, JpegSize movie, const std::string& firstPath) {
  if (frame.ArithmeticCoded()) return "arithmetic-coded JPEG, which SWF players do not show";
  if (frame.Size != movie) return SizeMismatchReason(frame.Size, movie, firstPath);
  return std::nullopt;
}

std::vector<std::string> FrameWarnings(const JpegFrame& frame) {
  std::vector<std::string> warnings;
  if (frame.Size.Width > kMaxPlayerSide || frame.Size.Height > kMaxPlayerSide) {
    warnings.push_back(SizeText(frame.Size) + ", a side over " + std::to_string(kMaxPlayerSide) +
                       " pixels, which older players refuse to show");
  }
  if (frame.Components == 4) warnings.push_back("CMYK colour, which some players cannot decode");
  return warnings;
}

PictureReview ReviewPictures(const PictureList& pictures) {
  return Review(pictures, ScanFileProblem, std::max(1u, std::thread::hardware_concurrency()));
}

PictureReview ReviewPictures(const PictureList& pictures, const ScanChecker& scans) {
  return Review(pictures, scans, 1);
}

PictureReview CheckPicturesForMovie(const PictureList& pictures, bool strict) {
  return RefuseOrPass(ReviewPictures(pictures), strict);
}

PictureReview CheckPicturesForMovie(const PictureList& pictures, bool strict, const ScanChecker& scans) {
  return RefuseOrPass(ReviewPictures(pictures, scans), strict);
}
