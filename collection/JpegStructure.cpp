#include "collection/JpegStructure.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "collection/JpegHeader.h"
#include "collection/PictureFile.h"

namespace {

constexpr int kEndOfFile = -1;

// The file a buffer at a time; segments are skipped, not read.
class Reader {
 public:
  explicit Reader(PictureFile& file) : file_(file), buffer_(1 << 16) {}

  int Next() {
    if (at_ == end_ && !Fill()) return kEndOfFile;
    return buffer_[at_++];
  }

  void Skip(std::uint64_t count) {
    const std::uint64_t here = end_ - at_;
    if (count <= here) {
      at_ += count;
      return;
    }
    file_.Skip(count - here);
    at_ = end_ = 0;
  }

  // Moves to the next 0xFF byte and past it; false at the end of the file.
  bool PastNextFF() {
    for (;;) {
      if (at_ == end_ && !Fill()) return false;
      const void* found = std::memchr(&buffer_[at_], 0xFF, end_ - at_);
      if (found) {
        at_ = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - buffer_.data()) + 1;
        return true;
      }
      at_ = end_;
    }
  }

 private:
  bool Fill() {
    end_ = file_.ReadSome(buffer_);
    at_ = 0;
    return end_ > 0;
  }

  PictureFile& file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t at_ = 0;
  std::size_t end_ = 0;
};

bool IsRestart(int marker) { return marker >= 0xD0 && marker <= 0xD7; }

class Walk {
 public:
  explicit Walk(PictureFile& file) : in_(file) {}

  JpegStructure Run() {
    const int first = in_.Next();
    if (!IsJpegStart(first, in_.Next())) return Damaged("not a JPEG file", false);
    int marker = NextMarker();
    for (;;) {
      if (marker == kEndOfFile) return CutShort();
      if (marker == 0xD9) break;
      if (marker < 0) return result_;  // a fault, already noted
      marker = Segment(marker);
    }
    if (result_.Scans == 0) return Damaged("the file holds no picture data", false);
    return result_;
  }

 private:
  // The marker at the reader's position: kEndOfFile, or -2 when what stands
  // there is not a marker.
  int NextMarker() {
    int c = in_.Next();
    if (c == kEndOfFile) return kEndOfFile;
    if (c != 0xFF) return Fault("bytes where a marker should stand");
    do {
      c = in_.Next();
    } while (c == 0xFF);  // fill bytes
    return c;
  }

  // One segment; the marker after it.
  int Segment(int marker) {
    if (marker == 0xD8 || IsRestart(marker) || marker == 0x00) return Fault("a marker out of place");
    if (marker == 0x01) return NextMarker();  // TEM, no length
    const int high = in_.Next();
    const int low = in_.Next();
    if (low == kEndOfFile) return kEndOfFile;
    const int length = high << 8 | low;
    if (length < 2) return Fault("a segment of no length");
    int body = length - 2;
    if (IsFrameMarker(marker)) frame_ = true;
    if (marker == 0xDD) {  // DRI: the restart interval the scans that follow use
      const int h = in_.Next();
      const int l = in_.Next();
      if (l == kEndOfFile) return kEndOfFile;
      restartInterval_ = h << 8 | l;
      body -= 2;
    }
    in_.Skip(static_cast<std::uint64_t>(body < 0 ? 0 : body));
    if (marker != 0xDA) return NextMarker();
    if (!frame_) return Fault("a scan before its frame header");
    ++result_.Scans;
    return ScanData();
  }

  // The entropy-coded data up to the marker that ends it.
  int ScanData() {
    int expectedRestart = 0;
    for (;;) {
      if (!in_.PastNextFF()) return kEndOfFile;
      int c = in_.Next();
      while (c == 0xFF) c = in_.Next();
      if (c == kEndOfFile) return kEndOfFile;
      if (c == 0x00) continue;  // a stuffed 0xFF data byte
      if (!IsRestart(c)) return c;
      if (restartInterval_ == 0 || c - 0xD0 != expectedRestart) return Fault("a restart marker out of place");
      expectedRestart = (expectedRestart + 1) % 8;
    }
  }

  int Fault(const char* says) {
    Damaged(says, true);
    return -2;
  }

  JpegStructure Damaged(const char* says, bool stillDecodes) {
    result_.Problem = JpegStructure::Fault{says, stillDecodes};
    return result_;
  }

  // The decoder's own words for it.
  JpegStructure CutShort() { return Damaged("Premature end of JPEG file", true); }

  Reader in_;
  JpegStructure result_;
  bool frame_ = false;
  int restartInterval_ = 0;
};

}  // namespace

JpegStructure WalkJpegStructure(const std::string& path) {
  PictureFile file(path);
  return Walk(file).Run();
}
