#pragma once
// Runs a build on a worker thread while the window's event loop goes on, so
// that the window repaints, moves and shows the build's progress meanwhile.

#include <functional>

#include "movie/MovieWriter.h"

// Runs work on a new thread and returns when it has ended, with the calling
// thread's events delivered meanwhile. What work reports through the
// reporter it is given reaches `window` on the calling thread, in the order
// reported, all of it before this returns. An error work throws is thrown
// again here. The caller keeps whatever work reads from changing until then.
void RunOffTheWindow(const std::function<void(BuildReporter&)>& work, BuildReporter& window);
