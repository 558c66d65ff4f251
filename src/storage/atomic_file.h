#pragma once
// Whole files replaced safely: a failed, interrupted or killed save leaves the old file or the
// new one, never a torn one, and no temporary file that outlives the next save.
#include <string>

namespace vyk {

struct ReplaceOptions {
  // Make the new file unnamed where the file system can (Linux O_TMPFILE). Off, it is written
  // under a hidden temporary name first, as on file systems that cannot.
  bool unnamedTemporary = true;
};

// Writes `bytes` to a new file in the folder of `path` (of the file a link points to), flushes
// it to the disk, renames it over the old file and flushes the folder. The new file gets the
// old one's owner and mode. The file is written in place instead, without a new file, when it
// has other hard links (which would keep the old content otherwise), when its owner cannot be
// given to a new file, and when the folder takes no new file (a read-only folder). A file the
// user made read-only is refused. A system error throws InOutError and leaves any old file as
// it was.
void WriteFileReplacing(const std::string& path, const std::string& bytes,
                        ReplaceOptions options = {});

// Removes what saves of `path` that were killed half-way left beside it: hidden temporaries
// ".NAME.XXXXXX" that no running save holds. Every save of `path` does this first.
void RemoveStaleTemporaries(const std::string& path);

}  // namespace vyk
