#include "collection/PictureReview.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <thread>
#include <utility>

#include "collection/JpegDecoder.h"
#include "collection/ScanCheck.h"

namespace {

std::string SizeText(JpegSize size) { return std::to_string(size.Width) + " x " + std::to_string(size.Height); }

const std::string kOverSide =
    "a side over " + std::to_string(kMaxPlayerSide) + " pixels, which older players refuse to show";
const std::string kCmyk = "CMYK colour, which some players cannot decode";

// A kind of warning: its reasons are Before + what varies + After; several
// pictures of the kind are said as Group, with what varies when they all
// share it.
struct WarningKind {
  std::string Before, After, Group, SharedAfter;
};

const std::vector<WarningKind>& WarningKinds() {
  static const std::vector<WarningKind> kinds = {
      {"", ", " + kOverSide, kOverSide, ""},
      {kCmyk, "", kCmyk, ""},
      {kDamagedBefore, kDamagedAfter, "picture data damaged; players show stripes where it fails", ""},
      {kUndecodableBefore, kUndecodableAfter, "picture data that cannot be decoded; players cannot show them", ""},
      {kScansBefore, kScansAfter,
       "over " + std::to_string(kMaxScans) + " scans each; players may take long to show them", " scans"},
  };
  return kinds;
}

// The kind of a reason, and what varies in it; a reason of no known kind is
// a kind of its own.
std::pair<WarningKind, std::string> KindOf(const std::string& reason) {
  for (const WarningKind& kind : WarningKinds()) {
    if (reason.size() >= kind.Before.size() + kind.After.size() && reason.starts_with(kind.Before) &&
        reason.ends_with(kind.After)) {
      return {kind, reason.substr(kind.Before.size(), reason.size() - kind.Before.size() - kind.After.size())};
    }
  }
  return {WarningKind{reason, "", reason, ""}, ""};
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
  // What the decoder cannot decode at all, neither can a player.
  if (frame.Lossless()) return "lossless JPEG, which the decoder and SWF players cannot show";
  if (frame.Differential()) return "hierarchical JPEG, which the decoder and SWF players cannot show";
  if (frame.Precision != 8) {
    return std::to_string(frame.Precision) + "-bit samples, which the decoder and SWF players cannot show";
  }
  if (frame.Size.Width > kMaxDecoderSide || frame.Size.Height > kMaxDecoderSide) {
    return SizeText(frame.Size) + ", over the " + std::to_string(kMaxDecoderSide) +
           " pixels a side the decoder can show";
  }
  if (frame.Size != movie) return SizeMismatchReason(frame.Size, movie, firstPath);
  return std::nullopt;
}

std::vector<std::string> FrameWarnings(const JpegFrame& frame) {
  std::vector<std::string> warnings;
  if (frame.Size.Width > kMaxPlayerSide || frame.Size.Height > kMaxPlayerSide) {
    warnings.push_back(SizeText(frame.Size) + ", " + kOverSide);
  }
  if (frame.Components == 4) warnings.push_back(kCmyk);
  return warnings;
}

std::vector<std::string> WarningLines(const std::vector<PictureNote>& warnings) {
  struct Group {
    WarningKind Kind;
    std::vector<const PictureNote*> Notes;
    std::optional<std::string> Shared;  // what varies, while all share it
  };
  std::vector<Group> groups;
  for (const PictureNote& note : warnings) {
    auto [kind, varies] = KindOf(note.Reason);
    auto group = std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.Kind.Group == kind.Group; });
    if (group == groups.end()) {
      groups.push_back({std::move(kind), {}, std::move(varies)});
      group = groups.end() - 1;
    } else if (group->Shared != varies) {
      group->Shared.reset();
    }
    group->Notes.push_back(&note);
  }
  std::vector<std::string> lines;
  for (const Group& group : groups) {
    if (group.Notes.size() == 1) {
      lines.push_back(group.Notes.front()->Text());
      continue;
    }
    std::string line = std::to_string(group.Notes.size()) + " pictures: " + group.Kind.Group + " (" +
                       group.Notes.front()->Path + (group.Notes.size() == 2 ? " and " : " to ") +
                       group.Notes.back()->Path;
    if (group.Shared && !group.Shared->empty()) line += ", " + *group.Shared + group.Kind.SharedAfter;
    lines.push_back(line + ")");
  }
  return lines;
}

PictureReview ReviewPictures(const PictureList& pictures, PictureCheck check) {
  return Review(pictures, check == PictureCheck::Decode ? ScanFileProblem : StructureProblem,
                std::max(1u, std::thread::hardware_concurrency()));
}

PictureReview ReviewPictures(const PictureList& pictures, const ScanChecker& scans) {
  return Review(pictures, scans, 1);
}

PictureReview CheckPicturesForMovie(const PictureList& pictures, bool strict, PictureCheck check) {
  return RefuseOrPass(ReviewPictures(pictures, check), strict);
}

PictureReview CheckPicturesForMovie(const PictureList& pictures, bool strict, const ScanChecker& scans) {
  return RefuseOrPass(ReviewPictures(pictures, scans), strict);
}
