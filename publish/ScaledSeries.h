#pragma once
// Scales a list of pictures on every processor core: one worker per core
// takes the next picture, and the results are handed on in list order on
// the calling thread, so that files are written, progress is shown and
// errors are raised there. The workers run at most a few pictures ahead of
// the one handed on, which bounds the memory whatever the list's length.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "publish/ScaledPicture.h"

// The targets for a picture of the given upright size.
using TargetsFor = std::function<std::vector<ScaleTarget>(PictureSize upright)>;
// Picture i's files, one per target, in order.
using ScaledTake = std::function<void(std::size_t i, std::vector<std::vector<std::uint8_t>>& files)>;

// Reads and scales each picture at paths. The first error (a picture that
// cannot be read or scaled, or one that take throws) stops the workers and
// is thrown here once they have stopped.
void ScaleSeries(const std::vector<std::string>& paths, const TargetsFor& targets, const ScaledTake& take);
