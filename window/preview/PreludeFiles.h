#pragma once
// The preview page's script (publish/page/preview-prelude.js) and the SWF
// player's configuration it passes on (publish/page/player-config.json),
// built into the window as the page files are into the core.

#include <span>

#include "publish/PageFiles.h"

std::span<const EmbeddedFile> PreludeFiles();
