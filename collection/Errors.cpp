#include "collection/Errors.h"

#include <cstring>
#include <utility>

ConvertError::ConvertError(const std::string& text)
    : AppError("'" + text + "' is not a valid integer value") {}

FileOpenError::FileOpenError(const std::string& path, int systemError)
    : AppError("Cannot open file \"" + path + "\". " + SystemReason(systemError)) {}

FileCreateError::FileCreateError(const std::string& path, int systemError)
    : AppError("Cannot create file \"" + path + "\". " + SystemReason(systemError)) {}

FolderOpenError::FolderOpenError(const std::string& folder, int systemError)
    : AppError("Cannot open folder \"" + folder + "\". " + SystemReason(systemError)) {}

FolderCreateError::FolderCreateError(const std::string& folder, int systemError)
    : AppError("Cannot create folder \"" + folder + "\". " + SystemReason(systemError)) {}

StreamReadError::StreamReadError() : AppError("Stream read error") {}

StreamWriteError::StreamWriteError(const std::string& path, int systemError)
    : AppError("Stream write error\rCannot write file \"" + path + "\". " + SystemReason(systemError)) {}

std::string SystemReason(int systemError) {
  return std::strerror(systemError);
}

FileRefusedError::FileRefusedError(std::string path, std::string reason)
    : AppError(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

PictureMismatchError::PictureMismatchError(std::vector<PictureNote> refusals, std::vector<PictureNote> warnings)
    : AppError(std::string(kFirstLine) + "\r" + kSecondLine),
      refusals_(std::move(refusals)),
      warnings_(std::move(warnings)) {}

NoPicturesError::NoPicturesError() : AppError("There are no pictures to build.") {}

StreamMemoryError::StreamMemoryError()
    : AppError("Out of memory while expanding memory stream") {}

std::string OutOfMemoryText(const std::string& doing) {
  return "Out of memory while " + doing + ". Close other programs, or use fewer or smaller pictures.";
}
