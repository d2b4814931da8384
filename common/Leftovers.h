#pragma once
// What a run writes beside its target under a hidden name (the movie's
// ".NAME.XXXXXX.part", the web folder's ".NAME.part-XXXXXX") carries an
// exclusive flock for as long as the run lives; the kernel drops the lock
// however the process ends. A later run that gets the lock at once knows
// the name was left by a run that was killed, and may remove it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Holds the folder of a new hidden name shared while the name is made and
// locked, so that a cleaner, which holds the folder exclusively while it
// looks, never meets a name that is not locked yet.
class HiddenNameMaking {
 public:
  explicit HiddenNameMaking(const std::string& folder);
  ~HiddenNameMaking();
  HiddenNameMaking(const HiddenNameMaking&) = delete;
  HiddenNameMaking& operator=(const HiddenNameMaking&) = delete;

 private:
  int fd_;
};

// The lock that marks a hidden file or folder as in use by this process,
// from its making until the object goes.
class HiddenNameHeld {
 public:
  explicit HiddenNameHeld(const std::string& path);
  ~HiddenNameHeld();
  HiddenNameHeld(const HiddenNameHeld&) = delete;
  HiddenNameHeld& operator=(const HiddenNameHeld&) = delete;

 private:
  int fd_;
};

// name cut to leave room for added bytes within the folder's limit on the
// length of a name.
std::string NameWithin(const std::string& folder, const std::string& name, std::size_t added);

// True when text is count characters of the given alphabet.
bool IsRandomPart(std::string_view text, std::string_view alphabet, std::size_t count);

// Removes every file (or, with folders, every folder) in folder whose name
// matches and that no running process holds; returns their paths. Nothing
// is removed while another run is making a hidden name in the folder.
std::vector<std::string> RemoveLeftovers(const std::string& folder, bool folders,
                                         const std::function<bool(std::string_view name)>& matches);
