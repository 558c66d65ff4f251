#pragma once
// What the two systems' sides of the safe save share: the file a save replaces, the hidden
// temporaries' names, the error a failed write raises. Each side (posix/atomic_file.cpp,
// windows/atomic_file.cpp) defines RemoveStale and Replace.
#include <string>
#include <string_view>

#include "storage/atomic_file.h"

namespace vyk::atomic_file {

struct Target {
  std::string path;    // the file itself, links followed
  std::string folder;  // its folder; "." for a bare name
  std::string name;    // its name in the folder
};

// "Error writing PATH: " and the system's text for an errno value (EIO for 0).
[[noreturn]] void ThrowWriteError(const std::string& path, int error);

// A hidden temporary is ".NAME.XXXXXX": the name is cut so that the whole fits the longest
// file name the system allows.
std::string TemporaryPrefix(const std::string& name);
bool IsTemporaryOf(std::string_view entry, std::string_view prefix);
std::string RandomSuffix();
std::string InFolder(const Target& t, const std::string& name);

// Removes the hidden temporaries of the target that no running save holds.
void RemoveStale(const Target& t);
// Writes `bytes` as the target's new content; `path` is the name the user gave, for messages.
void Replace(const Target& t, const std::string& path, const std::string& bytes,
             ReplaceOptions options);

}  // namespace vyk::atomic_file
