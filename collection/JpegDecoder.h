#pragma once
// libjpeg's decompressor fed from a picture file a block at a time: segments
// it skips are seeked over, never read, and what it may allocate is bounded,
// so that decoding needs bounded memory whatever the file's size. The strip's
// thumbnails and the build's check of the picture data both decode with it.

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <array>
#include <csetjmp>
#include <optional>
#include <string>

class InputFile;

// Pictures of more pixels than this are not decoded: a header may claim up
// to 65535 x 65535, and a scaled picture may be held whole.
inline constexpr long long kMaxPicturePixels = 1LL << 26;

inline bool ExceedsPixelBound(long long width, long long height) { return width * height > kMaxPicturePixels; }

// What the decoder may allocate for one picture. A progressive picture
// keeps all its coefficients (128 bytes per 8 x 8 block of each component)
// until its last scan; one that needs more is too large to decode. With the
// scaled picture, a thumbnail stays within 64 MiB.
inline constexpr long kDecoderMemory = 40L << 20;

// The scans a decode reads at most. Each scan of a progressive picture costs
// a pass over all its blocks, and a file may hold thousands of tiny ones;
// real pictures have about ten.
inline constexpr int kMaxScans = 200;

class JpegFileDecoder {
 public:
  explicit JpegFileDecoder(InputFile& file);
  ~JpegFileDecoder();
  JpegFileDecoder(const JpegFileDecoder&) = delete;
  JpegFileDecoder& operator=(const JpegFileDecoder&) = delete;

  // Makes the decompressor and reads the header, within kDecoderMemory;
  // false when libjpeg reported an error (see Message).
  bool ReadHeader();

  // Whether the header read claims more pixels than are decoded.
  bool ExceedsPixelBound() const { return ::ExceedsPixelBound(info.image_width, info.image_height); }

  // Asks for the fast integer transform at scale num / denom: the set-up
  // every decode here shares.
  void SetFastScale(unsigned int num, unsigned int denom);

  // Starts the decompressor; a progressive picture is read whole here, into
  // its coefficients. False when libjpeg reported an error.
  bool Start();

  // Reads every row into the memory rowAt(scanline) gives, then up to the
  // end marker, where corrupt data after the last row shows; what follows
  // the marker is not read. False when libjpeg reported an error.
  template <class RowAt>
  bool ReadRowsToEnd(RowAt&& rowAt) {
    return Guarded([&] {
      while (info.output_scanline < info.output_height) {
        JSAMPROW row = rowAt(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
      }
      jpeg_finish_decompress(&info);
    });
  }

  // Runs one step of libjpeg calls; false when libjpeg reported an error.
  // The step must hold nothing that needs destroying, since an error jumps
  // out of it.
  template <class Step>
  bool Guarded(Step&& step) {
    if (setjmp(errors_.back) != 0) return false;
    step();
    return true;
  }

  // The last error's text, and whether it means the picture needs more
  // memory than it may have.
  const char* Message() const { return errors_.message; }
  bool OutOfMemory() const;
  // The first warning's text (data cut short, a bad restart marker): the
  // picture still decodes, but not as it was made.
  std::optional<std::string> FirstWarning() const;
  // Whether the decode stopped reading after kMaxScans scans. It then ends
  // as if the file ended there, with what those scans gave, and without a
  // warning for the end it made itself.
  bool StoppedAtScanBound() const { return source_.ended; }

  jpeg_decompress_struct info{};

 private:
  // libjpeg reports an error by calling error_exit, which must not return:
  // it jumps back to the step that was running, past libjpeg's own frames.
  struct ErrorManager {
    jpeg_error_mgr base;  // first, so that libjpeg's pointer to it is ours too
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX];
    bool warned;
  };
  struct FileSource {
    jpeg_source_mgr base;  // first, as above
    InputFile* file;
    bool ended;                       // at the scan bound: nothing more is read
    std::array<JOCTET, 4096> buffer;  // small: after a skip only a segment header may be needed
  };
  struct ScanWatch {
    jpeg_progress_mgr base;  // first, as above
    JpegFileDecoder* decoder;
  };

  static void JumpBack(j_common_ptr info);
  static void KeepFirstWarning(j_common_ptr info, int level);
  static boolean FillBuffer(j_decompress_ptr info);
  static void SkipData(j_decompress_ptr info, long count);
  static void StopAfterScanBound(j_common_ptr info);

  ErrorManager errors_{};
  FileSource source_{};
  ScanWatch watch_{};
};
