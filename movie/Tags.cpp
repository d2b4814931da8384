#include "movie/Tags.h"

#include <array>
#include <span>

#include "movie/GalleryScript.h"
#include "movie/HintBitmap.h"

namespace tags {

namespace {

using Block = std::span<const std::uint8_t>;

// Short and long tag headers: a UI16 of code x 64 + length, where the long
// form puts 63 there and the length in a UI32 after it.
constexpr std::uint32_t kLongForm = 0x3F;
constexpr std::size_t kShortHeader = 2;
constexpr std::size_t kLongHeader = 6;

void WriteShortHeader(MovieStream& s, std::uint16_t code, std::uint16_t length) {
  s.WriteUI16(static_cast<std::uint16_t>(code << 6 | length));
}

void WriteLongHeader(MovieStream& s, std::uint16_t code, std::uint32_t length) {
  s.WriteUI16(static_cast<std::uint16_t>(code << 6 | kLongForm));
  s.WriteUI32(length);
}

// A long header whose length is filled in by BackPatch; returns the patch to
// complete with EndPatchedBody once the body is written.
std::size_t BeginPatchedBody(MovieStream& s, std::uint16_t code, PatchList& patches) {
  s.WriteUI16(static_cast<std::uint16_t>(code << 6 | kLongForm));
  patches.push_back(LengthPatch{s.Position(), 0});
  s.WriteUI32(0);
  return patches.size() - 1;
}

void EndPatchedBody(const MovieStream& s, PatchList& patches, std::size_t patch) {
  LengthPatch& p = patches[patch];
  p.Value = static_cast<std::uint32_t>(s.Position() - p.Position - 4);
}

void WriteName(MovieStream& s, const std::string& name) {
  s.Write({reinterpret_cast<const std::uint8_t*>(name.data()), name.size()});
  s.WriteByte(0);
}

// FileAttributes body: UseNetwork only (the script runs in AVM1).
constexpr std::array<std::uint8_t, 4> kFileAttributesBody{0x01, 0x00, 0x00, 0x00};
// Light grey.
constexpr std::array<std::uint8_t, 3> kBackgroundColorBody{0xCC, 0xCC, 0xCC};

// A picture shape's styles after its bounds: two clipped bitmap fills, the
// first without a bitmap, the second (whose id goes between these blocks)
// mapping each bitmap pixel to 20 twips; its matrix ends with the
// size-dependent translation.
constexpr std::array<std::uint8_t, 12> kPictureFillsHead{0x02, 0x43, 0xFF, 0xFF, 0xD9, 0x40,
                                                         0x00, 0x05, 0x00, 0x00, 0x00, 0x43};
constexpr std::array<std::uint8_t, 6> kPictureFillMatrixHead{0xD9, 0x40, 0x00, 0x05, 0x00, 0x00};
// No line styles; 2 fill bits, 0 line bits.
constexpr std::array<std::uint8_t, 2> kPictureStyleCounts{0x00, 0x20};

// Every clip holds one frame in which its only child is placed at depth 1
// with an empty matrix: PlaceObject2 (short form, HasMatrix, HasCharacter),
// then ShowFrame and End.
constexpr std::array<std::uint8_t, 7> kClipHead{0x01, 0x00, 0x86, 0x06, 0x06, 0x01, 0x00};
constexpr std::array<std::uint8_t, 5> kClipTail{0x00, 0x40, 0x00, 0x00, 0x00};
constexpr std::uint32_t kClipLength = 2 + kClipHead.size() + 2 + kClipTail.size();

void WriteClip(MovieStream& s, std::uint16_t clipId, std::uint16_t childId) {
  WriteLongHeader(s, kDefineSprite, kClipLength);
  s.WriteUI16(clipId);
  s.Write(kClipHead);
  s.WriteUI16(childId);
  s.Write(kClipTail);
}

// PlaceObject2 flags: HasName, HasMatrix, HasCharacter; with HasColorTransform.
constexpr std::uint8_t kPlaceNamed = 0x26;
constexpr std::uint8_t kPlaceNamedTransformed = 0x2E;

// The hint bitmap: format 5 (32-bit premultiplied ARGB), 218 x 32.
constexpr std::uint8_t kBitmapFormatArgb = 5;

// The hint shape: its bounds and first fill style before the bitmap id,
// the second fill's matrix, the outline after it.
constexpr std::array<std::uint8_t, 20> kHintShapeHead{0x6D, 0xDF, 0x51, 0x09, 0xEC, 0x10, 0xA0, 0x00, 0x02, 0x43,
                                                      0xFF, 0xFF, 0xD9, 0x3F, 0xED, 0x34, 0xFE, 0x00, 0x00, 0x43};
constexpr std::array<std::uint8_t, 29> kHintShapeTail{0xD9, 0x3F, 0xED, 0x34, 0xFE, 0x00, 0x0D, 0xBB, 0xEF, 0xB0,
                                                      0x40, 0x00, 0x20, 0x15, 0xA8, 0x84, 0x0A, 0x05, 0xE1, 0x77,
                                                      0xCF, 0x2D, 0x81, 0xF0, 0x44, 0x1F, 0x95, 0x3F, 0x80};
constexpr std::uint32_t kHintShapeLength = 2 + kHintShapeHead.size() + 2 + kHintShapeTail.size();

// The hint's fixed place: scale about 0.999, translation (2184, 319) twips.
constexpr std::array<std::uint8_t, 9> kHintMatrix{0xC5, 0xFF, 0xA6, 0xFF, 0x99, 0x35, 0x11, 0x01, 0x3F};
constexpr const char* kHintName = "tips";
constexpr std::uint32_t kHintPlacementLength = 1 + 2 + 2 + kHintMatrix.size() + 4 + 1;

// The screen shape: a black 8077 x 5998 twip rectangle centred on its origin.
constexpr std::array<std::uint8_t, 32> kScreenShape{0x6C, 0x0E, 0x9F, 0x8F, 0x44, 0x95, 0xDB, 0x80, 0x01, 0x00, 0x00,
                                                    0x00, 0x00, 0x00, 0x10, 0x15, 0xAF, 0xC7, 0x5D, 0xBF, 0xC2, 0x07,
                                                    0x3F, 0x1A, 0x24, 0xBC, 0x1F, 0x8D, 0xF1, 0x5D, 0xB8, 0x00};
constexpr std::uint32_t kScreenShapeLength = 2 + kScreenShape.size();

// Colour transform with multipliers 1.0 for red, green and blue and 0 for
// alpha: the rectangle is invisible but still takes the mouse.
constexpr std::array<std::uint8_t, 6> kInvisible{0x69, 0x00, 0x40, 0x10, 0x00, 0x00};
constexpr const char* kScreenName = "ScreenMain";

// The screen rectangle is scaled from these sizes to about the stage less
// a pixel's margin.
constexpr double kScreenWidthDivisor = 403.9;
constexpr double kScreenHeightDivisor = 299.9;

myByteArray ScreenMatrix(const TConversion& c, std::int32_t width, std::int32_t height) {
  return c.ScaleTranslateMatrixBytes((width - 2) / kScreenWidthDivisor, (height - 2) / kScreenHeightDivisor,
                                     width / 2.0, height / 2.0);
}

std::uint16_t Low16(std::size_t value) { return static_cast<std::uint16_t>(value & 0xFFFF); }

}  // namespace

std::uint16_t PictureBitmapId(std::size_t i) { return Low16(3 * i + 1); }
std::uint16_t PictureShapeId(std::size_t i) { return Low16(3 * i + 2); }
std::uint16_t PictureClipId(std::size_t i) { return Low16(3 * i + 3); }
std::uint16_t PictureDepth(std::size_t i) { return Low16(2 * i + 1); }
std::uint16_t HintBitmapId(std::size_t n) { return Low16(3 * n + 1); }
std::uint16_t HintShapeId(std::size_t n) { return Low16(3 * n + 2); }
std::uint16_t HintClipId(std::size_t n) { return Low16(3 * n + 3); }
std::uint16_t HintDepth(std::size_t n) { return Low16(2 * n + 1); }
std::uint16_t ScreenShapeId(std::size_t n) { return Low16(3 * n + 4); }
std::uint16_t ScreenClipId(std::size_t n) { return Low16(3 * n + 5); }
std::uint16_t ScreenDepth(std::size_t n) { return Low16(2 * n + 3); }

std::string PictureName(std::size_t i) { return "pic" + std::to_string(i + 1); }

void WriteFileHeader(MovieStream& s, const TConversion& c, std::int32_t width, std::int32_t height) {
  s.Write(std::array<std::uint8_t, 4>{'F', 'W', 'S', 9});
  s.WriteUI32(0);  // FileLength, filled in by BackPatch
  s.Write(c.FrameRectBytes(0, 0, width, height));
  s.WriteUI16(0x0C00);  // 12.0 frames per second, 8.8 fixed point
  s.WriteUI16(1);       // one frame
}

void WriteFileAttributes(MovieStream& s) {
  WriteShortHeader(s, kFileAttributes, kFileAttributesBody.size());
  s.Write(kFileAttributesBody);
}

void WriteBackgroundColor(MovieStream& s) {
  WriteShortHeader(s, kSetBackgroundColor, kBackgroundColorBody.size());
  s.Write(kBackgroundColorBody);
}

void WriteScript(MovieStream& s, std::int32_t pictureCount) {
  WriteLongHeader(s, kDoAction, static_cast<std::uint32_t>(gallery_script::BodyLength()));
  s.Write(gallery_script::Before());
  s.WriteSI32(pictureCount);
  s.Write(gallery_script::After());
}

void WritePictureBitmapHeader(MovieStream& s, std::size_t i, std::uint32_t fileSize) {
  WriteLongHeader(s, kDefineBitsJPEG2, fileSize + 2);
  s.WriteUI16(PictureBitmapId(i));
}

void WritePictureShape(MovieStream& s, const TConversion& c, std::size_t i, std::int32_t width, std::int32_t height,
                       PatchList& patches) {
  const std::size_t patch = BeginPatchedBody(s, kDefineShape, patches);
  s.WriteUI16(PictureShapeId(i));
  s.Write(c.CenteredRectBytes(width, height));
  s.Write(kPictureFillsHead);
  s.WriteUI16(PictureBitmapId(i));
  s.Write(kPictureFillMatrixHead);
  s.Write(c.FillMatrixTailBytes(width, height));
  s.Write(kPictureStyleCounts);
  s.Write(c.ShapeOutlineBytes(width, height));
  EndPatchedBody(s, patches, patch);
}

void WritePictureClip(MovieStream& s, std::size_t i) { WriteClip(s, PictureClipId(i), PictureShapeId(i)); }

void WritePicturePlacement(MovieStream& s, const TConversion& c, std::size_t i, std::int32_t width, std::int32_t height,
                           PatchList& patches) {
  const std::size_t patch = BeginPatchedBody(s, kPlaceObject2, patches);
  s.WriteByte(kPlaceNamed);
  s.WriteUI16(PictureDepth(i));
  s.WriteUI16(PictureClipId(i));
  s.Write(c.TranslateMatrixBytes(width / 2.0, height / 2.0));
  WriteName(s, PictureName(i));
  EndPatchedBody(s, patches, patch);
}

void WriteHintBitmap(MovieStream& s, std::size_t n) {
  const std::span<const std::uint8_t> pixels = hint_bitmap::CompressedPixels();
  WriteLongHeader(s, kDefineBitsLossless2, static_cast<std::uint32_t>(7 + pixels.size()));
  s.WriteUI16(HintBitmapId(n));
  s.WriteByte(kBitmapFormatArgb);
  s.WriteUI16(hint_bitmap::kWidth);
  s.WriteUI16(hint_bitmap::kHeight);
  s.Write(pixels);
}

void WriteHintShape(MovieStream& s, std::size_t n) {
  WriteLongHeader(s, kDefineShape, kHintShapeLength);
  s.WriteUI16(HintShapeId(n));
  s.Write(kHintShapeHead);
  s.WriteUI16(HintBitmapId(n));
  s.Write(kHintShapeTail);
}

void WriteHintClip(MovieStream& s, std::size_t n) { WriteClip(s, HintClipId(n), HintShapeId(n)); }

void WriteHintPlacement(MovieStream& s, std::size_t n) {
  WriteLongHeader(s, kPlaceObject2, kHintPlacementLength);
  s.WriteByte(kPlaceNamed);
  s.WriteUI16(HintDepth(n));
  s.WriteUI16(HintClipId(n));
  s.Write(kHintMatrix);
  WriteName(s, kHintName);
}

void WriteScreenShape(MovieStream& s, std::size_t n, PatchList& patches) {
  const std::size_t patch = BeginPatchedBody(s, kDefineShape, patches);
  s.WriteUI16(ScreenShapeId(n));
  s.Write(kScreenShape);
  EndPatchedBody(s, patches, patch);
}

void WriteScreenClip(MovieStream& s, std::size_t n) { WriteClip(s, ScreenClipId(n), ScreenShapeId(n)); }

void WriteScreenPlacement(MovieStream& s, const TConversion& c, std::size_t n, std::int32_t width,
                          std::int32_t height) {
  const myByteArray matrix = ScreenMatrix(c, width, height);
  const std::string name = kScreenName;
  WriteLongHeader(s, kPlaceObject2,
                  static_cast<std::uint32_t>(1 + 2 + 2 + matrix.size() + kInvisible.size() + name.size() + 1));
  s.WriteByte(kPlaceNamedTransformed);
  s.WriteUI16(ScreenDepth(n));
  s.WriteUI16(ScreenClipId(n));
  s.Write(matrix);
  s.Write(kInvisible);
  WriteName(s, name);
}

void WriteShowFrame(MovieStream& s) { WriteShortHeader(s, kShowFrame, 0); }
void WriteEnd(MovieStream& s) { WriteShortHeader(s, kEnd, 0); }

void BackPatch(MovieStream& s, const PatchList& patches) {
  s.Seek(4);
  s.WriteUI32(static_cast<std::uint32_t>(s.Size()));
  for (const LengthPatch& p : patches) {
    s.Seek(p.Position);
    s.WriteUI32(p.Value);
  }
  s.Seek(s.Size());
}

std::uint64_t MovieLength(const TConversion& c, std::int32_t width, std::int32_t height,
                          const std::vector<std::uint64_t>& fileSizes) {
  std::uint64_t length = 4 + 4 + c.FrameRectBytes(0, 0, width, height).size() + 4;
  length += kShortHeader + kFileAttributesBody.size();
  length += kShortHeader + kBackgroundColorBody.size();
  length += kLongHeader + gallery_script::BodyLength();

  // Picture i: bitmap (id and file), shape, clip, and a placement whose
  // name grows by a digit at every power of ten.
  const std::uint64_t shape = 2 + c.CenteredRectBytes(width, height).size() + kPictureFillsHead.size() + 2 +
                              kPictureFillMatrixHead.size() + c.FillMatrixTailBytes(width, height).size() +
                              kPictureStyleCounts.size() + c.ShapeOutlineBytes(width, height).size();
  const std::uint64_t placementBeforeName = 1 + 2 + 2 + c.TranslateMatrixBytes(width / 2.0, height / 2.0).size();
  for (std::size_t i = 0; i < fileSizes.size(); ++i) {
    length += kLongHeader + 2 + fileSizes[i];
    length += kLongHeader + shape;
    length += kLongHeader + kClipLength;
    length += kLongHeader + placementBeforeName + PictureName(i).size() + 1;
  }

  length += kLongHeader + 7 + hint_bitmap::CompressedPixels().size();
  length += kLongHeader + kHintShapeLength;
  length += kLongHeader + kClipLength;
  length += kLongHeader + kHintPlacementLength;
  length += kLongHeader + kScreenShapeLength;
  length += kLongHeader + kClipLength;
  length += kLongHeader + 1 + 2 + 2 + ScreenMatrix(c, width, height).size() + kInvisible.size() +
            std::string(kScreenName).size() + 1;
  length += kShortHeader + kShortHeader;  // ShowFrame, End
  return length;
}

}  // namespace tags
