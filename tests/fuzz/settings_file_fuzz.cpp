// vyk.ini as the program reads it at start-up and writes it back when it closes. The settings
// read are read again from what was written; every line that is no key the program writes
// stays, in its order; and a port name the user chose comes back exactly as it was.
#include <string_view>
#include <vector>

#include "model/records/settings_file.h"
#include "model/text/number.h"
#include "support/fuzz_support.h"

using namespace vyk;
using namespace vyk::fuzz;

namespace {

bool SameSettings(const StoredSettings& a, const StoredSettings& b) {
  return a.comPort == b.comPort && a.baudRate == b.baudRate && a.portName == b.portName &&
         a.namesPort == b.namesPort;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// A line the program may replace or remove: a key of its own, in any section.
bool ProgramsKey(std::string_view line) {
  std::string_view t = TrimBlanks(line);
  if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return false;
  const size_t equals = t.find('=');
  if (equals == std::string_view::npos) return false;
  const std::string key = Lower(TrimBlanks(t.substr(0, equals)));
  for (const char* own : {"comport", "baudrate", "portname", "eestart", "eestop", "eeresume"})
    if (key == own) return true;
  return false;
}

// The file's lines as the program splits them: at line feeds, a carriage return before one
// belonging to the line end, a byte order mark not part of the first line.
std::vector<std::string_view> Lines(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  // The first line is a port name to choose in Box > Options; the rest is the file.
  const std::string chosenPort(in.Until('\n'));
  const std::string original(in.Rest());
  const SettingsFile file(Scratch().Path().string());
  WriteBytes(file.Path(), original);

  const StoredSettings read = file.Load();
  file.Save(read);
  const std::string written = ReadBytes(file.Path());
  Require(SameSettings(file.Load(), read), "settings written back read the same");

  // Every other line is still there, in its order.
  const std::vector<std::string_view> after = Lines(written);
  size_t next = 0;
  for (std::string_view line : Lines(original)) {
    if (ProgramsKey(line)) continue;
    while (next < after.size() && after[next] != line)
      ++next;
    Require(next < after.size(), "a line the program does not know stays, in its order");
    ++next;
  }

  if (chosenPort.empty()) return 0;
  StoredSettings chosen = read;
  chosen.portName = chosenPort;
  chosen.namesPort = true;
  file.Save(chosen);
  Require(file.Load().portName == chosenPort, "a chosen port name reads back as it was");
  return 0;
}
