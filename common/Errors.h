#pragma once
// Every error the tool raises carries the message the user is shown.
// Commands let these escape to one general error report.

#include <stdexcept>
#include <string>
#include <vector>

class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A number text that is not a 32-bit integer: "'%s' is not a valid integer value".
class ConvertError : public AppError {
 public:
  explicit ConvertError(const std::string& text);
};

// "Cannot open file "%s". %s" with the path and the system's reason.
class FileOpenError : public AppError {
 public:
  FileOpenError(const std::string& path, int systemError);
};

// "Cannot create file "%s". %s" with the path and the system's reason.
class FileCreateError : public AppError {
 public:
  FileCreateError(const std::string& path, int systemError);
};

// A folder that cannot be entered or read: "Cannot open folder "%s". %s"
// with the folder and the system's reason.
class FolderOpenError : public AppError {
 public:
  FolderOpenError(const std::string& folder, int systemError);
};

// A folder that cannot be made or put in place: "Cannot create folder "%s". %s"
// with the folder and the system's reason.
class FolderCreateError : public AppError {
 public:
  FolderCreateError(const std::string& folder, int systemError);
};

// A file ended before the bytes that had to be read: "Stream read error".
class StreamReadError : public AppError {
 public:
  StreamReadError();
};

// Writing failed part-way (disk full and the like): "Stream write error",
// then on a line of its own "Cannot write file "%s". %s" with the path and
// the system's reason.
class StreamWriteError : public AppError {
 public:
  StreamWriteError(const std::string& path, int systemError);
};

// The system's own words for an errno value, as the messages above quote them.
std::string SystemReason(int systemError);

// A file refused for a reason of its own, named in front of it:
// "view1.jpg: not a regular file". The path and the reason stay apart, so
// that a caller can show either.
class FileRefusedError : public AppError {
 public:
  FileRefusedError(std::string path, std::string reason);
  const std::string& Path() const { return path_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// A file whose JPEG frame header cannot be read, with the reason: "not a
// JPEG file", "the file ends inside its JPEG header" and the like.
class JpegHeaderError : public FileRefusedError {
 public:
  using FileRefusedError::FileRefusedError;
};

// One picture and what is wrong with it, said as "view07.jpg: reason".
struct PictureNote {
  std::string Path;
  std::string Reason;
  std::string Text() const { return Path + ": " + Reason; }
  friend bool operator==(const PictureNote&, const PictureNote&) = default;
};

// Pictures the movie cannot be made of. Its message is the two lines the
// window shows in its stop message box, joined by a carriage return; the
// pictures refused, and those with warnings, come with it for the details.
class PictureMismatchError : public AppError {
 public:
  explicit PictureMismatchError(std::vector<PictureNote> refusals, std::vector<PictureNote> warnings = {});
  static constexpr const char* kFirstLine = "One of the image's format and/or size is different!";
  static constexpr const char* kSecondLine = "Translating is terminated.";

  const std::vector<PictureNote>& Refusals() const { return refusals_; }
  const std::vector<PictureNote>& Warnings() const { return warnings_; }

 private:
  std::vector<PictureNote> refusals_;
  std::vector<PictureNote> warnings_;
};

// A build asked for with an empty picture list.
class NoPicturesError : public AppError {
 public:
  NoPicturesError();
};

// A movie the file format cannot hold: too many pictures, pictures too small
// for the mouse area, or a file too long for its 32-bit length field.
class MovieLimitError : public AppError {
 public:
  using AppError::AppError;
};

// What the user is told when memory ran out with no more particular
// message: "Out of memory while DOING." and what may help.
std::string OutOfMemoryText(const std::string& doing);

// The in-memory movie could not grow: "Out of memory while expanding memory stream".
class StreamMemoryError : public AppError {
 public:
  StreamMemoryError();
};

// Writing stopped by Ctrl-C, SIGTERM or SIGHUP: "The WHAT was not written:
// stopped.", with what names the output ("movie", "web folder "site"").
class StoppedError : public AppError {
 public:
  explicit StoppedError(const std::string& what);
};

// A movie file and a web folder given the same place.
class SameTargetError : public AppError {
 public:
  explicit SameTargetError(const std::string& path);
};

// A folder that would be replaced without being asked to:
// "The folder "%s" is not empty.", then the advice of the program that
// asked, when it has one ("Give --force to replace it.").
class FolderNotEmptyError : public AppError {
 public:
  explicit FolderNotEmptyError(const std::string& folder, const std::string& advice = "");
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
};

// A folder a web folder never replaces, and why: "is the home folder or
// holds it", "holds the picture "view1.jpg"", "holds the SWF player" ...
class FolderNeverReplacedError : public AppError {
 public:
  FolderNeverReplacedError(const std::string& folder, const std::string& why);
};

// A folder of files this tool did not write, which no web folder replaces.
class ForeignFolderError : public AppError {
 public:
  explicit ForeignFolderError(const std::string& folder);
};

// Something was put in the web folder's place while the folder was written;
// it is kept.
class PlaceTakenError : public AppError {
 public:
  explicit PlaceTakenError(const std::string& folder);
};

// A web folder put in place whose old content could not be removed from
// where it was moved aside.
class OldContentKeptError : public AppError {
 public:
  OldContentKeptError(const std::string& folder, const std::string& old, int systemError);
};

// The SWF player's files are not in the folder they were looked for in.
class PlayerMissingError : public AppError {
 public:
  explicit PlayerMissingError(const std::string& folder);
};

// The folder for the preview page is not the user's own and closed to
// others, so the page could be changed or read before the view reads it.
class PreviewFolderError : public AppError {
 public:
  explicit PreviewFolderError(const std::string& folder);
};

// The picture scaler of the web folder could not start.
class ScalerStartError : public AppError {
 public:
  explicit ScalerStartError(const std::string& reason);
};

// A picture could not be scaled for the web folder; the reason is the
// decoder's or the scaler's own.
class PictureScaleError : public AppError {
 public:
  PictureScaleError(const std::string& name, const std::string& reason);
};
