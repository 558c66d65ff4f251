#include "model/records/box_history.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include "model/bytes.h"
#include "model/errors.h"
#include "storage/path_text.h"
#include "storage/record_lines.h"

namespace vyk {

namespace {

constexpr int kFields = 11;
constexpr char kHeading[] =
    "# time\toperation\tport\tletter\tversion\tproject\tchecksum\toutcome\tstopped at\tmessage\t"
    "backup";

std::string Escape(const std::string& field) {
  std::string out;
  for (char c : field) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Copied in runs between the escapes, into a string that keeps its room from the line before:
// a long history is mostly fields without any.
void Unescape(std::string_view field, std::string& out) {
  out.clear();
  size_t from = 0;
  for (size_t at = field.find('\\'); at != std::string_view::npos && at + 1 < field.size();
       at = field.find('\\', from)) {
    out.append(field.substr(from, at - from));
    const char e = field[at + 1];
    out += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
    from = at + 2;
  }
  out.append(field.substr(from));
}

std::array<std::string HistoryEntry::*, kFields> Fields() {
  return {&HistoryEntry::time,     &HistoryEntry::operation, &HistoryEntry::port,
          &HistoryEntry::letter,   &HistoryEntry::version,   &HistoryEntry::project,
          &HistoryEntry::checksum, &HistoryEntry::outcome,   &HistoryEntry::stoppedAt,
          &HistoryEntry::message,  &HistoryEntry::backup};
}

}  // namespace

std::string HistoryPath(const std::string& dataFolder) {
  return PathText(PathOf(dataFolder) / kHistoryFileName);
}

std::string HistoryLine(const HistoryEntry& entry) {
  std::string line;
  for (auto field : Fields()) {
    if (field != &HistoryEntry::time) line += '\t';
    line += Escape(entry.*field);
  }
  return line;
}

bool ParseHistoryLine(std::string_view line, HistoryEntry& entry) {
  if (line.empty() || line[0] == '#') return false;
  // Fields a later version adds go after these and are not read.
  std::array<std::string_view, kFields> parts;
  size_t start = 0;
  for (int i = 0; i < kFields; ++i) {
    if (start > line.size()) return false;
    const size_t tab = std::min(line.find('\t', start), line.size());
    parts[i] = line.substr(start, tab - start);
    start = tab + 1;
  }
  auto fields = Fields();
  for (int i = 0; i < kFields; ++i)
    Unescape(parts[i], entry.*fields[i]);
  return true;
}

void AppendHistory(const std::string& dataFolder, const HistoryEntry& entry) {
  const std::string path = HistoryPath(dataFolder);
  std::error_code ec;
  std::filesystem::create_directories(PathOf(dataFolder), ec);
  if (ec) throw InOutError("Error writing " + path + ": " + ec.message());
  // One write of the whole line in append mode: lines of the window and of `vyk` running at
  // once do not mix.
  std::string text;
  if (!std::filesystem::exists(PathOf(path), ec)) text = std::string(kHeading) + "\n";
  text += HistoryLine(entry) + "\n";
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) throw InOutError("Error writing " + path);
  std::setvbuf(file, nullptr, _IOFBF, text.size() + 1);
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) throw InOutError("Error writing " + path);
}

size_t ReadHistoryNewestFirst(const std::string& dataFolder, size_t last,
                              const std::function<void(const HistoryEntry&)>& entry) {
  size_t given = 0;
  size_t skipped = 0;
  if (last == 0) return 0;
  HistoryEntry e;
  ReadLinesBackwards(HistoryPath(dataFolder), [&](std::optional<std::string_view> line) {
    if (line && (line->empty() || line->front() == '#')) return true;
    if (!line || !ParseHistoryLine(*line, e)) {
      ++skipped;
      return true;
    }
    entry(e);
    return ++given < last;
  });
  return skipped;
}

std::vector<HistoryEntry> ReadHistory(const std::string& dataFolder) {
  std::vector<HistoryEntry> entries;
  ReadHistoryNewestFirst(dataFolder, kEveryEntry,
                         [&](const HistoryEntry& e) { entries.push_back(e); });
  std::reverse(entries.begin(), entries.end());
  return entries;
}

std::string Crc32Text(const uint8_t* bytes, size_t count) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(Crc32(bytes, count)));
  return text;
}

std::string LocalTimeText(std::time_t when, const char* format) {
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  char text[40];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

}  // namespace vyk
