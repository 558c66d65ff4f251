#pragma once
// Whole files replaced safely: a failed or interrupted save never leaves a torn file.
#include <string>

namespace vyk {

// Writes `bytes` to a temporary file in the same folder, flushes it to the disk and renames
// it over `path` (the file a link points to, keeping the old file's mode). A file the user
// made read-only is refused. A system error throws InOutError and leaves any old file as it
// was.
void WriteFileReplacing(const std::string& path, const std::string& bytes);

}  // namespace vyk
