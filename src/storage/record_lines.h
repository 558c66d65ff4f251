#pragma once
// The lines of the files the program keeps records in (the history of transfers, the index
// of backups), read from the last to the first in blocks: the newest lines of a long file
// come at once, and memory stays bounded whatever the file holds.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vyk {

// A line longer than this is no record any version writes: it is passed over unread.
inline constexpr size_t kMaxRecordLine = 64 * 1024;

// Calls `line` with each line of the file at `path`, the last first, without its line end,
// until `line` returns false; a line too long to be a record comes as nothing. A missing file
// has no lines; a folder, pipe or device in its place, or a read error, throws InOutError.
void ReadLinesBackwards(const std::string& path,
                        const std::function<bool(std::optional<std::string_view>)>& line);

// "N lines of PATH could not be read and were skipped"; empty for none.
std::string SkippedLinesText(size_t count, const std::string& path);

}  // namespace vyk
