#include "collection/JpegDecoder.h"

#include "collection/PictureFile.h"
#include "common/Errors.h"

namespace {

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

}  // namespace

JpegFileDecoder::JpegFileDecoder(InputFile& file) {
  info.err = jpeg_std_error(&errors_.base);
  errors_.base.error_exit = JumpBack;
  errors_.base.emit_message = KeepFirstWarning;
  source_.file = &file;
  source_.base.init_source = InitSource;
  source_.base.fill_input_buffer = FillBuffer;
  source_.base.skip_input_data = SkipData;
  source_.base.resync_to_restart = jpeg_resync_to_restart;
  source_.base.term_source = TermSource;
  watch_.base.progress_monitor = StopAfterScanBound;
  watch_.decoder = this;
}

JpegFileDecoder::~JpegFileDecoder() { jpeg_destroy_decompress(&info); }

bool JpegFileDecoder::ReadHeader() {
  return Guarded([&] {
    jpeg_create_decompress(&info);
    info.src = &source_.base;
    info.progress = &watch_.base;
    info.mem->max_memory_to_use = kDecoderMemory;
    jpeg_read_header(&info, TRUE);
  });
}

void JpegFileDecoder::SetFastScale(unsigned int num, unsigned int denom) {
  info.scale_num = num;
  info.scale_denom = denom;
  info.dct_method = JDCT_IFAST;
}

bool JpegFileDecoder::Start() {
  return Guarded([&] { jpeg_start_decompress(&info); });
}

bool JpegFileDecoder::OutOfMemory() const {
  return errors_.base.msg_code == JERR_OUT_OF_MEMORY || errors_.base.msg_code == JERR_NO_BACKING_STORE;
}

std::optional<std::string> JpegFileDecoder::FirstWarning() const {
  if (!errors_.warned) return std::nullopt;
  return std::string(errors_.warning);
}

void JpegFileDecoder::JumpBack(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  errors->base.format_message(info, errors->message);
  std::longjmp(errors->back, 1);
}

// Trace messages (levels 0 and up) are not warnings, nor is the end the
// scan bound made.
void JpegFileDecoder::KeepFirstWarning(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  if (level >= 0 || errors->warned) return;
  const auto* source = reinterpret_cast<const FileSource*>(reinterpret_cast<j_decompress_ptr>(info)->src);
  if (source && source->ended) return;
  errors->base.format_message(info, errors->warning);
  errors->warned = true;
}

boolean JpegFileDecoder::FillBuffer(j_decompress_ptr info) {
  auto* source = reinterpret_cast<FileSource*>(info->src);
  std::size_t n = 0;
  bool failed = false;
  try {
    if (!source->ended) n = source->file->ReadSome(source->buffer);
  } catch (const AppError&) {
    failed = true;  // jumping out of the handler would leak the exception
  }
  if (failed) ERREXIT(info, JERR_FILE_READ);
  if (n == 0) {
    // The file ends early: an end marker lets the decoder finish with what
    // it has, as its own file source does.
    if (!source->ended) WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    n = 2;
  }
  source->base.next_input_byte = source->buffer.data();
  source->base.bytes_in_buffer = n;
  return TRUE;
}

void JpegFileDecoder::SkipData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  auto* source = reinterpret_cast<FileSource*>(info->src);
  const auto wanted = static_cast<std::size_t>(count);
  if (wanted <= source->base.bytes_in_buffer) {
    source->base.next_input_byte += wanted;
    source->base.bytes_in_buffer -= wanted;
    return;
  }
  const std::size_t rest = wanted - source->base.bytes_in_buffer;
  source->base.bytes_in_buffer = 0;
  bool failed = false;
  try {
    source->file->Skip(rest);
  } catch (const AppError&) {
    failed = true;
  }
  if (failed) ERREXIT(info, JERR_FILE_READ);
}

// libjpeg calls this between the steps of reading the input; once it has
// met the header of the scan after the bound, the input ends here.
void JpegFileDecoder::StopAfterScanBound(j_common_ptr info) {
  if (!info->is_decompressor) return;
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  FileSource& source = reinterpret_cast<ScanWatch*>(info->progress)->decoder->source_;
  if (source.ended || decompress->input_scan_number <= kMaxScans) return;
  source.ended = true;
  source.base.bytes_in_buffer = 0;
}
