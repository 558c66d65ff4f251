#include "model/box_history.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "model/errors.h"

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

std::string Unescape(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char e = field[++i];
    out += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
  }
  return out;
}

std::array<std::string HistoryEntry::*, kFields> Fields() {
  return {&HistoryEntry::time,     &HistoryEntry::operation, &HistoryEntry::port,
          &HistoryEntry::letter,   &HistoryEntry::version,   &HistoryEntry::project,
          &HistoryEntry::checksum, &HistoryEntry::outcome,   &HistoryEntry::stoppedAt,
          &HistoryEntry::message,  &HistoryEntry::backup};
}

}  // namespace

std::string HistoryPath(const std::string& dataFolder) {
  return (std::filesystem::path(dataFolder) / kHistoryFileName).string();
}

std::string HistoryLine(const HistoryEntry& entry) {
  std::string line;
  for (auto field : Fields()) {
    if (field != &HistoryEntry::time) line += '\t';
    line += Escape(entry.*field);
  }
  return line;
}

bool ParseHistoryLine(const std::string& line, HistoryEntry& entry) {
  if (line.empty() || line[0] == '#') return false;
  std::vector<std::string> parts(1);
  for (char c : line) {
    if (c == '\t') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  // Fields a later version adds go after these and are not read.
  if (parts.size() < kFields) return false;
  HistoryEntry e;
  auto fields = Fields();
  for (int i = 0; i < kFields; ++i)
    e.*fields[i] = Unescape(parts[i]);
  entry = e;
  return true;
}

void AppendHistory(const std::string& dataFolder, const HistoryEntry& entry) {
  const std::string path = HistoryPath(dataFolder);
  std::error_code ec;
  std::filesystem::create_directories(dataFolder, ec);
  if (ec) throw InOutError("Error writing " + path + ": " + ec.message());
  // One write of the whole line in append mode: lines of the window and of `vyk` running at
  // once do not mix.
  std::string text;
  if (!std::filesystem::exists(path, ec)) text = std::string(kHeading) + "\n";
  text += HistoryLine(entry) + "\n";
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) throw InOutError("Error writing " + path);
  std::setvbuf(file, nullptr, _IOFBF, text.size() + 1);
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) throw InOutError("Error writing " + path);
}

std::vector<HistoryEntry> ReadHistory(const std::string& dataFolder) {
  std::vector<HistoryEntry> entries;
  std::ifstream in(HistoryPath(dataFolder), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    HistoryEntry e;
    if (ParseHistoryLine(line, e)) entries.push_back(std::move(e));
  }
  return entries;
}

std::string Crc32Text(const uint8_t* bytes, size_t count) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(~crc));
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
