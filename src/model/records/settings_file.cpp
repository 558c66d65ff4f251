#include "model/records/settings_file.h"

#include <charconv>
#include <filesystem>

#include "model/errors.h"
#include "model/text/number.h"
#include "storage/atomic_file.h"
#include "storage/path_text.h"
#include "storage/regular_file.h"

namespace vyk {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kSystem = "System";
constexpr std::string_view kComPort = "ComPort";
constexpr std::string_view kBaudRate = "BaudRate";
constexpr std::string_view kPortName = "PortName";
constexpr std::string_view kBox = "Box";
constexpr std::string_view kBackupBeforeUpdate = "BackupBeforeUpdate";
constexpr std::string_view kPreviewBeforeUpdate = "PreviewBeforeUpdate";
// Start, stop and resume addresses the Box maker's firmware tools read; always "0000" here.
constexpr std::string_view kWindow = "Window";
constexpr std::string_view kGeometry = "Geometry";
constexpr std::string_view kRecentKey = "Recent";  // Recent1, Recent2, ...
constexpr std::string_view kUser = "User";
constexpr std::string_view kLogColumns = "LogColumns";
constexpr std::string_view kFirmwareKeys[] = {"EEResume", "EEStart", "EEStop"};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// What one line of the file is: a section header, a key with its (still escaped) value, or
// anything else (blank, comment, a line we do not understand), which is kept as it is.
struct Line {
  enum Kind { Other, Section, Key } kind = Other;
  std::string_view name;
  std::string_view value;
};

Line Classify(std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (t.empty() || t[0] == ';' || t[0] == '#') return {};
  if (t[0] == '[') {
    size_t close = t.find(']');
    if (close == std::string_view::npos) return {};
    return {Line::Section, TrimBlanks(t.substr(1, close - 1)), {}};
  }
  size_t equals = t.find('=');
  if (equals == std::string_view::npos) return {};
  return {Line::Key, TrimBlanks(t.substr(0, equals)), t.substr(equals + 1)};
}

void AppendUtf8(std::string& out, unsigned long code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsDigitOf(char c, int base) {
  if (base == 8) return c >= '0' && c <= '7';
  return (c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'f');
}

// Reads the digits of a numeric escape starting at `i`; leaves `i` on the last one.
unsigned long NumericEscape(std::string_view v, size_t& i, int base, size_t maxDigits) {
  size_t end = i;
  while (end < v.size() && end - i < maxDigits && IsDigitOf(v[end], base))
    ++end;
  unsigned long code = 0;
  std::from_chars(v.data() + i, v.data() + end, code, base);
  i = end - 1;
  return code;
}

// A value as QSettings stores it: quotes group, backslashes escape, ";" outside quotes starts
// a comment, blanks at either end outside quotes do not count.
std::string Unescape(std::string_view v) {
  v = TrimBlanks(v);
  std::string out;
  size_t kept = 0;  // length of `out` up to its last character that counts
  bool quoted = false;
  for (size_t i = 0; i < v.size(); ++i) {
    const char c = v[i];
    if (c == '"') {
      quoted = !quoted;
      kept = out.size();
      continue;
    }
    if (c == ';' && !quoted) break;
    if (c == '\\' && i + 1 < v.size()) {
      const char e = v[++i];
      switch (e) {
        case 'a':
          out += '\a';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'v':
          out += '\v';
          break;
        case 'x':
          if (i + 1 < v.size() && IsDigitOf(v[i + 1], 16)) {
            ++i;
            AppendUtf8(out, NumericEscape(v, i, 16, 6));
          } else {
            out += e;
          }
          break;
        default:
          if (IsDigitOf(e, 8)) {
            AppendUtf8(out, NumericEscape(v, i, 8, 3));
          } else {
            out += e;  // \\, \", \' and \? stand for themselves
          }
      }
      kept = out.size();
      continue;
    }
    out += c;
    if (quoted || !IsBlank(c)) kept = out.size();
  }
  out.resize(kept);
  return out;
}

// The letter escape of a control character, or nothing for one written in hexadecimal.
const char* NamedEscape(char c) {
  switch (c) {
    case '\a':
      return "\\a";
    case '\b':
      return "\\b";
    case '\f':
      return "\\f";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    case '\v':
      return "\\v";
    default:
      return nullptr;
  }
}

std::string Escape(std::string_view v) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const bool quote = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()) ||
                                    v.find_first_of(",;=") != std::string_view::npos);
  std::string out;
  if (quote) out += '"';
  // A reader takes every hexadecimal digit after "\x" as part of the escape, so a digit right
  // after one is escaped too (as QSettings does), or "\x01" and "A" would read as U+001A.
  bool afterHexEscape = false;
  for (char c : v) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || (afterHexEscape && IsDigitOf(c, 16))) {
      if (const char* named = NamedEscape(c)) {
        out += named;
        afterHexEscape = false;
      } else {
        out += "\\x";
        out += kHex[u >> 4];
        out += kHex[u & 0xF];
        afterHexEscape = true;
      }
      continue;
    }
    afterHexEscape = false;
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      default:
        out += c;
    }
  }
  if (quote) out += '"';
  return out;
}

std::optional<int> ToInt(std::string_view text) {
  int n = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

// The whole file; a missing or unreadable one, or a folder or pipe in its place, reads as
// empty.
std::string ReadWhole(const std::string& path) {
  RegularFile file(path, RegularFile::Access::Read);
  if (file.GetStatus() != RegularFile::Status::Open) return "";
  constexpr size_t kChunk = 1 << 16;
  std::string text;
  try {
    for (std::string chunk = file.Read(kChunk); !chunk.empty(); chunk = file.Read(kChunk)) {
      text += chunk;
      if (chunk.size() < kChunk) break;
    }
  } catch (const InOutError&) {
    return "";
  }
  return text;
}

}  // namespace

IniText::IniText(std::string_view text) {
  byteOrderMark_ = text.substr(0, 3) == kByteOrderMark;
  if (byteOrderMark_) text.remove_prefix(3);
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      crlf_ = true;
    }
    lines_.emplace_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
  bool inSection = false;
  for (const std::string& text : lines_) {
    const Line line = Classify(text);
    if (line.kind == Line::Section) inSection = SameName(line.name, section);
    if (inSection && line.kind == Line::Key && SameName(line.name, key))
      return Unescape(line.value);
  }
  return std::nullopt;
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string entry = std::string(key) + "=" + Escape(value);
  bool inSection = false;
  size_t insertAt = 0;
  bool found = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line line = Classify(lines_[i]);
    if (line.kind == Line::Section) {
      inSection = SameName(line.name, section);
      if (inSection) {
        insertAt = i + 1;
        found = true;
      }
    } else if (inSection && line.kind == Line::Key) {
      if (SameName(line.name, key)) {
        lines_[i] = entry;
        return;
      }
      insertAt = i + 1;
    }
  }
  if (found) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    return;
  }
  if (!lines_.empty() && !TrimBlanks(lines_.back()).empty()) lines_.emplace_back();
  lines_.push_back("[" + std::string(section) + "]");
  lines_.push_back(entry);
}

void IniText::Remove(std::string_view section, std::string_view key) {
  bool inSection = false;
  for (size_t i = 0; i < lines_.size();) {
    const Line line = Classify(lines_[i]);
    if (line.kind == Line::Section) inSection = SameName(line.name, section);
    if (inSection && line.kind == Line::Key && SameName(line.name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

std::string IniText::Text() const {
  std::string text(byteOrderMark_ ? kByteOrderMark : "");
  for (const std::string& line : lines_)
    text += line + (crlf_ ? "\r\n" : "\n");
  return text;
}

SettingsFile::SettingsFile(const std::string& folder)
    : path_(PathText(PathOf(folder) / "vyk.ini")) {}

StoredSettings SettingsFile::Load() const {
  const IniText ini(ReadWhole(path_));
  StoredSettings s;
  if (auto v = ini.Value(kSystem, kComPort)) {
    if (auto n = ToInt(*v)) {
      s.comPort = *n;
      s.namesPort = true;
    }
  }
  if (auto v = ini.Value(kSystem, kBaudRate)) s.baudRate = ToInt(*v).value_or(s.baudRate);
  s.portName = ini.Value(kSystem, kPortName).value_or("");
  if (!s.portName.empty()) s.namesPort = true;
  // Only "0" switches one off: a value the file garbled keeps the safe default.
  s.backupBeforeUpdate = ini.Value(kBox, kBackupBeforeUpdate).value_or("1") != "0";
  s.previewBeforeUpdate = ini.Value(kBox, kPreviewBeforeUpdate).value_or("1") != "0";
  s.windowGeometry = ini.Value(kWindow, kGeometry).value_or("");
  for (size_t i = 1; i <= kRecentProjects; ++i) {
    auto v = ini.Value(kWindow, std::string(kRecentKey) + std::to_string(i));
    if (v && !v->empty()) s.recentProjects.push_back(*v);
  }
  return s;
}

void SettingsFile::Save(const StoredSettings& s) const {
  IniText ini(ReadWhole(path_));
  if (s.namesPort) ini.Set(kSystem, kComPort, std::to_string(s.comPort));
  ini.Set(kSystem, kBaudRate, std::to_string(s.baudRate));
  if (s.namesPort && !s.portName.empty()) {
    ini.Set(kSystem, kPortName, s.portName);
  } else if (s.namesPort) {
    ini.Remove(kSystem, kPortName);
  }
  for (std::string_view key : kFirmwareKeys)
    ini.Set(kUser, key, "0000");
  // A file that never had them gets them only once one is switched off.
  auto setFlag = [&ini](std::string_view key, bool on) {
    if (!on || ini.Value(kBox, key)) ini.Set(kBox, key, on ? "1" : "0");
  };
  setFlag(kBackupBeforeUpdate, s.backupBeforeUpdate);
  setFlag(kPreviewBeforeUpdate, s.previewBeforeUpdate);
  if (!s.windowGeometry.empty()) ini.Set(kWindow, kGeometry, s.windowGeometry);
  for (size_t i = 1; i <= kRecentProjects; ++i) {
    const std::string key = std::string(kRecentKey) + std::to_string(i);
    if (i <= s.recentProjects.size()) {
      ini.Set(kWindow, key, s.recentProjects[i - 1]);
    } else {
      ini.Remove(kWindow, key);
    }
  }
  Write(ini);
}

std::optional<std::string> SettingsFile::LogColumns(const std::string& headerKey) const {
  return IniText(ReadWhole(path_)).Value(kLogColumns, headerKey);
}

void SettingsFile::SaveLogColumns(const std::string& headerKey, const std::string& value) const {
  IniText ini(ReadWhole(path_));
  ini.Set(kLogColumns, headerKey, value);
  Write(ini);
}

void SettingsFile::Write(const IniText& ini) const {
  std::error_code ec;
  const std::filesystem::path folder = PathOf(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) throw InOutError("Error writing " + path_ + ": " + ec.message());
  WriteFileReplacing(path_, ini.Text());
}

}  // namespace vyk
