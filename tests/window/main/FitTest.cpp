// Pictures larger than older players show: the warning box's choice to
// build from copies scaled to fit, to build them as they are, or to cancel.

#include "collection/JpegHeader.h"
#include "movie/SwfTags.h"
#include "tests/support/FolderTree.h"
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

// Each row on a list of its own; then the last list again, which shows no
// box and keeps the answer given.
TEST_F(FitTest, TheWarningBoxOffersCopiesScaledToFit) {
  const struct {
    LargePicturesAnswer answer;
    int saveRuns;
    std::vector<JpegSize> movie;
  } rows[] = {
      {LargePicturesAnswer::Cancel, 0, {}},
      {LargePicturesAnswer::AsTheyAre, 1, {{3000, 60}, {3000, 60}}},
      {LargePicturesAnswer::ScaleToFit, 1, {{2880, 58}, {2880, 58}}},
  };
  const fs::path movie = pictures.Path() / "out" / "movie.swf";
  const auto build = [&](LargePicturesAnswer answer) {
    fs::remove_all(movie.parent_path());
    fs::create_directories(movie.parent_path());
    dialogs.SaveRuns = 0;
    dialogs.LargePictures = answer;
    dialogs.SavePath = QString::fromStdString(movie.string());
    form.Build1->trigger();
    return fs::exists(movie) ? MoviePictureSizes(ReadTree(movie.parent_path()).at("movie.swf"))
                             : std::vector<JpegSize>{};
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& r = rows[i];
    SCOPED_TRACE(i);
    form.New1->trigger();
    const std::string name = "row" + std::to_string(i);
    Import({Picture(name + "a.jpg", 3000, 60), Picture(name + "b.jpg", 3000, 60)});
    PaintStrip();
    EXPECT_EQ(build(r.answer), r.movie);
    EXPECT_EQ(dialogs.FitSizesOffered, QStringList(static_cast<int>(i) + 1, "2880 x 2880"));
    EXPECT_EQ(dialogs.SaveRuns, r.saveRuns);
  }
  EXPECT_EQ(build(LargePicturesAnswer::Cancel), rows[2].movie);
  EXPECT_EQ(dialogs.FitSizesOffered.size(), 3);

  FolderTree after = ReadTree(pictures.Path());
  std::erase_if(after, [](const auto& file) { return file.first.starts_with("out/"); });
  for (const auto& [name, bytes] : after) EXPECT_EQ(bytes, MakeJpeg(3000, 60)) << name << ": only read";
}

}  // namespace
