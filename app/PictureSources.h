#pragma once
// Where the builder's pictures come from besides single files and folders,
// and their order: lists of paths (--from-file, --null), the check that
// pictures named on the command line are in natural name order, and the
// --sort and --reverse rearrangements.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/BuildOptions.h"
#include "common/Errors.h"

// The paths a list file names: one a line (a carriage return before the line
// feed is dropped), or with nullSeparated each ended by a NUL byte, as
// find -print0 writes them. Empty entries are skipped; relative paths stay
// relative to the current folder. "-" reads standard input. Throws
// FileOpenError, or ListFileError as soon as the list has a line longer than
// PATH_MAX bytes or more paths than a movie can hold (or as many empty
// entries).
std::vector<std::string> ReadPictureList(const std::string& path, bool nullSeparated);

// Makes sure that standard input, output and error are open, on /dev/null
// where they were closed, so that no file the program opens takes their
// place; a list on a closed standard input is then refused as such.
void KeepStandardStreamsOpen();

// The same for the bytes of a list; shown names the list in messages.
std::vector<std::string> ParsePictureList(const std::string& bytes, const std::string& shown, bool nullSeparated);

// A list file that cannot be read, or that holds NUL bytes between lines.
class ListFileError : public AppError {
 public:
  using AppError::AppError;
};

// The first two pictures named one after the other on the command line in
// the order a shell sorts names, which natural name order would swap
// (view10.jpg before view2.jpg), or nothing. Pictures in an order no sort
// gives were put so on purpose; folders and lists keep their own order.
std::optional<std::pair<std::string, std::string>> FirstPairOutOfOrder(const std::vector<PictureSource>& sources);

// The warning for such a pair.
std::string OrderWarning(const std::pair<std::string, std::string>& pair);

// Applies --sort (natural name order of the whole paths, equal names keeping
// their order) and then --reverse.
void ArrangePictures(std::vector<std::string>& paths, bool sort, bool reverse);
