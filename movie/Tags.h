#pragma once
// The movie's tags, one function per tag, each writing the whole tag at the
// stream's position. Fixed parts are constant byte blocks; ids, depths and
// names are computed from the picture's position i and the count N:
// picture i uses ids 3i + 1 (bitmap), 3i + 2 (shape), 3i + 3 (clip) and
// depth 2i + 1; after the pictures come the hint bitmap, shape and clip
// (3N + 1 to 3N + 3, clip at depth 2N + 1) and the screen shape and the
// mouse-sensitive clip (3N + 4, 3N + 5, clip at depth 2N + 3).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "movie/JZZH.h"
#include "movie/MovieStream.h"

namespace tags {

// Tag codes.
inline constexpr std::uint16_t kEnd = 0;
inline constexpr std::uint16_t kShowFrame = 1;
inline constexpr std::uint16_t kDefineShape = 2;
inline constexpr std::uint16_t kSetBackgroundColor = 9;
inline constexpr std::uint16_t kDoAction = 12;
inline constexpr std::uint16_t kDefineBitsJPEG2 = 21;
inline constexpr std::uint16_t kPlaceObject2 = 26;
inline constexpr std::uint16_t kDefineBitsLossless2 = 36;
inline constexpr std::uint16_t kDefineSprite = 39;
inline constexpr std::uint16_t kFileAttributes = 69;

// The id scheme runs out of 16-bit ids past this many pictures (3N + 5 <= 65535).
inline constexpr std::size_t kMaxPictures = 21843;

// A 4-byte length written provisionally: Position is its offset in the
// stream, Value the tag body's length, known once the body is written.
struct LengthPatch {
  std::size_t Position = 0;
  std::uint32_t Value = 0;
};
using PatchList = std::vector<LengthPatch>;

// Ids and depths of picture i and of the five characters after N pictures.
std::uint16_t PictureBitmapId(std::size_t i);
std::uint16_t PictureShapeId(std::size_t i);
std::uint16_t PictureClipId(std::size_t i);
std::uint16_t PictureDepth(std::size_t i);
std::uint16_t HintBitmapId(std::size_t n);
std::uint16_t HintShapeId(std::size_t n);
std::uint16_t HintClipId(std::size_t n);
std::uint16_t HintDepth(std::size_t n);
std::uint16_t ScreenShapeId(std::size_t n);
std::uint16_t ScreenClipId(std::size_t n);
std::uint16_t ScreenDepth(std::size_t n);

// "pic" and i + 1 in decimal: the instance name the script looks for.
std::string PictureName(std::size_t i);

// "FWS", version 9, a provisional FileLength, the frame size of a
// width x height stage, 12 frames per second, one frame.
void WriteFileHeader(MovieStream& s, const TConversion& c, std::int32_t width, std::int32_t height);
void WriteFileAttributes(MovieStream& s);
void WriteBackgroundColor(MovieStream& s);
// The gallery script with the picture count inserted.
void WriteScript(MovieStream& s, std::int32_t pictureCount);

// Picture i's four tags. The bitmap tag's header and id come first; the
// picture file's size bytes follow it unchanged, written by the caller.
void WritePictureBitmapHeader(MovieStream& s, std::size_t i, std::uint32_t fileSize);
void WritePictureShape(MovieStream& s, const TConversion& c, std::size_t i, std::int32_t width, std::int32_t height,
                       PatchList& patches);
void WritePictureClip(MovieStream& s, std::size_t i);
void WritePicturePlacement(MovieStream& s, const TConversion& c, std::size_t i, std::int32_t width, std::int32_t height,
                           PatchList& patches);

// The hint "Use the mouse drag screen to view": bitmap, shape, clip, placement.
void WriteHintBitmap(MovieStream& s, std::size_t n);
void WriteHintShape(MovieStream& s, std::size_t n);
void WriteHintClip(MovieStream& s, std::size_t n);
void WriteHintPlacement(MovieStream& s, std::size_t n);

// The invisible mouse-sensitive rectangle over the stage: shape, clip, placement.
void WriteScreenShape(MovieStream& s, std::size_t n, PatchList& patches);
void WriteScreenClip(MovieStream& s, std::size_t n);
void WriteScreenPlacement(MovieStream& s, const TConversion& c, std::size_t n, std::int32_t width, std::int32_t height);

void WriteShowFrame(MovieStream& s);
void WriteEnd(MovieStream& s);

// Fills in the FileLength (the stream's size) and every patched length.
void BackPatch(MovieStream& s, const PatchList& patches);

// The exact length of the movie of pictures of these file sizes, worked out
// before anything is assembled.
std::uint64_t MovieLength(const TConversion& c, std::int32_t width, std::int32_t height,
                          const std::vector<std::uint64_t>& fileSizes);

}  // namespace tags
