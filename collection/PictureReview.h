#pragma once
// The check a build runs over every picture before it writes anything: what
// refuses the build, and what lets it go on with a warning because players
// will show the picture wrong. The window's Build and orbilux-build both run
// it, so both name the same pictures for the same reasons.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "collection/JpegHeader.h"
#include "collection/PictureList.h"
#include "collection/ScanCheck.h"
#include "common/Errors.h"

// The widest and highest bitmap older SWF players show.
inline constexpr int kMaxPlayerSide = 2880;
// The widest and highest picture libjpeg decodes (its JPEG_MAX_DIMENSION).
inline constexpr int kMaxDecoderSide = 65500;

struct PictureReview {
  JpegSize MovieSize;  // the first picture's; zero when that one is refused
  std::vector<PictureNote> Refusals;
  std::vector<PictureNote> Warnings;
};

// Where the review learns what is wrong with a picture's data: nothing when
// it is sound. StructureProblem walks the file, ScanFileProblem decodes it;
// the window answers from what its strip has decoded already.
using ScanChecker = std::function<std::optional<std::string>(const std::string& path)>;

// How deep a check of its own looks at each picture's data: its structure,
// at the speed of reading (the default), or the whole decode.
enum class PictureCheck { Structure, Decode };

// Why the movie cannot carry a picture of this frame header, when it cannot:
// arithmetic coding, which SWF players do not show; a picture the decoder
// cannot decode at all (lossless, hierarchical, not 8 bits a sample, a side
// over kMaxDecoderSide); or another size than the movie's, the size of the
// picture at firstPath ("1920 x 1080, but the movie is 2560 x 1600 (the size
// of view01.jpg)").
std::optional<std::string> FrameRefusal(const JpegFrame& frame, JpegSize movie, const std::string& firstPath);

// The warnings a frame header alone gives: a side over kMaxPlayerSide, or
// CMYK colour.
std::vector<std::string> FrameWarnings(const JpegFrame& frame);

// The warnings as lines for the user, one per kind in the order the kinds
// first come: a kind only one picture has keeps its picture's line
// ("view07.jpg: CMYK colour, ..."); one that several have is said once,
// with the first and the last of them and what they share ("36 pictures: a
// side over 2880 pixels, which older players refuse to show (IMG_0101.JPG to
// IMG_0136.JPG, 6000 x 4000)").
std::vector<std::string> WarningLines(const std::vector<PictureNote>& warnings);

// Every picture in list order: a header that cannot be read (not a JPEG, cut
// short, damaged) or a FrameRefusal, the movie being the first picture's
// size, refuses it; a picture that passes gets its FrameWarnings, then what
// the scan check says. A file that cannot be opened or read throws as
// PictureFile does.
//
// The check of the data is nearly all of the review's time, so the review's
// own check runs on every processor at once; a checker of the caller's is
// asked on the calling thread, one picture after another.
PictureReview ReviewPictures(const PictureList& pictures, PictureCheck check = PictureCheck::Structure);
PictureReview ReviewPictures(const PictureList& pictures, const ScanChecker& scans);

// The review as a build uses it: throws PictureMismatchError with every
// refused picture, and with every warned one when strict (then those refuse
// too); otherwise returns the review, for its size and its warnings.
PictureReview CheckPicturesForMovie(const PictureList& pictures, bool strict,
                                    PictureCheck check = PictureCheck::Structure);
PictureReview CheckPicturesForMovie(const PictureList& pictures, bool strict, const ScanChecker& scans);
