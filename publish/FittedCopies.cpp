#include "publish/FittedCopies.h"

#include <cerrno>
#include <filesystem>
#include <vector>

#include "collection/JpegHeader.h"
#include "common/Errors.h"
#include "common/FileReplace.h"
#include "publish/ScaledSeries.h"
#include "publish/WebFolder.h"

namespace fs = std::filesystem;

FittedCopies::FittedCopies(const PictureList& pictures, PictureSize box, BuildReporter& reporter) {
  std::string name = (fs::temp_directory_path() / "orbilux-fit-XXXXXX").string();
  if (::mkdtemp(name.data()) == nullptr) throw FolderCreateError(name, errno);
  folder_ = name;
  try {
    std::vector<std::string> paths;
    for (const PictureEntry& entry : pictures.Entries()) paths.push_back(entry.Path);
    reporter.SetProgressMaximum(static_cast<int>(paths.size()) - 1);
    const TargetsFor targets = [&](PictureSize upright) {
      return std::vector<ScaleTarget>{{SizeWithin(upright, box), JpegLayout::Baseline}};
    };
    ScaleSeries(paths, targets, [&](std::size_t i, std::vector<std::vector<std::uint8_t>>& files) {
      reporter.SetProgressPosition(static_cast<int>(i));
      if (StopSignalPending()) throw StoppedError("movie");
      const std::string copy = (fs::path(folder_) / WebPictureName(i, paths.size())).string();
      WriteNewFile(copy, files[0]);
      copies_.AddPicture(copy);
      if (i == 0) {
        const JpegSize size = ReadJpegSize(copy);
        size_ = {size.Width, size.Height};
      }
    });
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    throw;
  }
}

FittedCopies::~FittedCopies() {
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}
