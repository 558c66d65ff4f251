#include "storage/record_lines.h"

#include <algorithm>

#include "storage/errors.h"
#include "storage/regular_file.h"

namespace vyk {

namespace {

constexpr size_t kBlock = 256 * 1024;

// Hands over one line (without a carriage return before its line feed); false to stop.
bool Give(std::string_view text, bool tooLong,
          const std::function<bool(std::optional<std::string_view>)>& line) {
  if (tooLong || text.size() > kMaxRecordLine) return line(std::nullopt);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return line(text);
}

}  // namespace

void ReadLinesBackwards(const std::string& path,
                        const std::function<bool(std::optional<std::string_view>)>& line) {
  RegularFile file(path, RegularFile::Access::Read);
  if (file.GetStatus() == RegularFile::Status::NotFound) return;
  file.RequireOpen();
  uint64_t end = file.Size();
  // The line being gathered: the part of it read so far (nothing once it is known to be too
  // long), which starts further back. At first it is what follows the file's last line end,
  // which is no line when empty.
  std::string tail;
  bool tailTooLong = false;
  bool afterLastEnd = true;
  while (end > 0) {
    const size_t size = static_cast<size_t>(std::min<uint64_t>(kBlock, end));
    end -= size;
    std::string block = file.ReadAt(end, size);
    if (block.size() != size) throw InOutError("Error reading " + path + ": the file shrank");
    const size_t first = block.find('\n');
    if (first == std::string::npos) {
      tailTooLong = tailTooLong || block.size() + tail.size() > kMaxRecordLine;
      tail = tailTooLong ? std::string() : block + tail;
      continue;
    }
    block += tail;
    size_t stop = block.size();
    for (size_t at = block.rfind('\n'); at != std::string::npos && at >= first;
         at = at == 0 ? std::string::npos : block.rfind('\n', at - 1)) {
      const std::string_view text(block.data() + at + 1, stop - at - 1);
      const bool skip = afterLastEnd && text.empty() && !tailTooLong;
      if (!skip && !Give(text, tailTooLong, line)) return;
      afterLastEnd = tailTooLong = false;
      stop = at;
    }
    tail = block.substr(0, first);
  }
  if (!(afterLastEnd && tail.empty() && !tailTooLong)) Give(tail, tailTooLong, line);
}

std::string SkippedLinesText(size_t count, const std::string& path) {
  if (count == 0) return "";
  if (count == 1) return "1 line of " + path + " could not be read and was skipped";
  return std::to_string(count) + " lines of " + path + " could not be read and were skipped";
}

}  // namespace vyk
