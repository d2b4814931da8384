// Pictures larger than older players show: the warning box's choice to
// build from copies scaled to fit, to build them as they are, or to cancel.

#include "collection/JpegHeader.h"
#include "tests/support/FolderTree.h"
#include "tests/support/SwfTags.h"
#include "tests/window/MainWindowFixture.h"

namespace fs = std::filesystem;

namespace {

class FitTest : public MainWindowTest {};

// The sizes of the movie's pictures, one per picture.
std::vector<JpegSize> MoviePictureSizes(const std::string& movie) {
  std::vector<JpegSize> sizes;
  for (const SwfTag& tag : ReadSwfTags({reinterpret_cast<const std::uint8_t*>(movie.data()), movie.size()})) {
    if (tag.Code == 21) sizes.push_back(ReadJpegSize(tag.Body.subspan(2), "movie picture"));  // DefineBitsJPEG2
  }
  return sizes;
}

TEST_F(FitTest, TheWarningBoxOffersCopiesScaledToFit) {
  const struct {
    LargePicturesAnswer answer;
    int saveRuns;
    std::vector<JpegSize> movie;
  } rows[] = {
      {LargePicturesAnswer::ScaleToFit, 1, {{2880, 58}, {2880, 58}}},
      {LargePicturesAnswer::AsTheyAre, 1, {{3000, 60}, {3000, 60}}},
      {LargePicturesAnswer::Cancel, 0, {}},
  };
  const QStringList wide = SomePictures(2, 3000, 60);
  Import(wide);
  PaintStrip();
  const FolderTree before = ReadTree(pictures.Path());
  for (const auto& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.answer));
    const fs::path movie = pictures.Path() / "out" / "movie.swf";
    fs::remove_all(movie.parent_path());
    fs::create_directories(movie.parent_path());
    dialogs.SaveRuns = 0;
    dialogs.LargePictures = r.answer;
    dialogs.SavePath = QString::fromStdString(movie.string());
    form.Build1->trigger();
    EXPECT_EQ(dialogs.FitSizesOffered.back(), "2880 x 2880");
    EXPECT_EQ(dialogs.SaveRuns, r.saveRuns);
    EXPECT_EQ(fs::exists(movie) ? MoviePictureSizes(ReadTree(movie.parent_path()).at("movie.swf")) : std::vector<JpegSize>{},
              r.movie);
  }
  FolderTree after = ReadTree(pictures.Path());
  for (auto it = after.begin(); it != after.end();) it = it->first.starts_with("out/") ? after.erase(it) : std::next(it);
  EXPECT_EQ(after, before) << "the pictures are only read";
}

}  // namespace
