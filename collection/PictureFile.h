#pragma once
// Pictures are read as every file is, with its refusals and messages.

#include "common/InputFile.h"

using PictureFile = InputFile;
