#include "common/Errors.h"

#include <cstring>
#include <utility>

ConvertError::ConvertError(const std::string& text) : AppError("'" + text + "' is not a valid integer value") {}

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

std::string SystemReason(int systemError) { return std::strerror(systemError); }

FileRefusedError::FileRefusedError(std::string path, std::string reason)
    : AppError(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

PictureMismatchError::PictureMismatchError(std::vector<PictureNote> refusals, std::vector<PictureNote> warnings)
    : AppError(std::string(kFirstLine) + "\r" + kSecondLine),
      refusals_(std::move(refusals)),
      warnings_(std::move(warnings)) {}

NoPicturesError::NoPicturesError() : AppError("There are no pictures to build.") {}

StreamMemoryError::StreamMemoryError() : AppError("Out of memory while expanding memory stream") {}

std::string OutOfMemoryText(const std::string& doing) {
  return "Out of memory while " + doing + ". Close other programs, or use fewer or smaller pictures.";
}

StoppedError::StoppedError(const std::string& what) : AppError("The " + what + " was not written: stopped.") {}

SameTargetError::SameTargetError(const std::string& path)
    : AppError("The movie and the web folder cannot both be \"" + path + "\".") {}

FolderNotEmptyError::FolderNotEmptyError(const std::string& folder, const std::string& advice)
    : AppError("The folder \"" + folder + "\" is not empty." + (advice.empty() ? "" : " " + advice)), folder_(folder) {}

FolderNeverReplacedError::FolderNeverReplacedError(const std::string& folder, const std::string& why)
    : AppError("The folder \"" + folder + "\" " + why + "; the web folder cannot replace it.") {}

ForeignFolderError::ForeignFolderError(const std::string& folder)
    : AppError("The folder \"" + folder +
               "\" holds files this tool did not write; choose an empty folder or a new name.") {}

PlaceTakenError::PlaceTakenError(const std::string& folder)
    : AppError("\"" + folder +
               "\" was made while the web folder was written; it is kept, and the web folder was not put in its "
               "place.") {}

OldContentKeptError::OldContentKeptError(const std::string& folder, const std::string& old, int systemError)
    : AppError("The folder \"" + folder + "\" is written, but its old content could not be removed from \"" + old +
               "\". " + SystemReason(systemError)) {}

PlayerMissingError::PlayerMissingError(const std::string& folder)
    : AppError("The SWF player is missing: it was looked for in \"" + folder + "\".") {}

PreviewFolderError::PreviewFolderError(const std::string& folder)
    : AppError("The preview page is not written to \"" + folder +
               "\": that folder must belong to you and be closed to other users.") {}

ScalerStartError::ScalerStartError(const std::string& reason)
    : AppError("The picture scaler could not start: " + reason) {}

PictureScaleError::PictureScaleError(const std::string& name, const std::string& reason)
    : AppError("The picture \"" + name + "\" could not be scaled: " + reason) {}
