#include "meters/meter_import.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/errors.h"
#include "model/text/ascii_text.h"
#include "model/text/number.h"
#include "storage/regular_file.h"

namespace vyk {

namespace {

constexpr char kEndOfFile = 26;

bool IsDelimiter(std::string_view delimiters, char c) {
  return delimiters.find(c) != std::string_view::npos;
}

// A field of a point line as a number, or nothing when it is empty, no number, or beyond a
// 32-bit float: such a line is simply not a point.
std::optional<float> ReadField(const std::string& field) {
  if (field.empty()) return std::nullopt;
  try {
    return ReadNumber(field);
  } catch (const OverflowError&) {
    return std::nullopt;
  }
}

// The file up to its end-of-file character, or all of it; a file that goes on past the size
// cap without one is no meter text file.
std::string ReadMeterText(const std::string& path) {
  RegularFile file(path, RegularFile::Access::Read);
  std::string data = file.Read(kMaxMeterTextBytes + 1);
  if (data.size() > kMaxMeterTextBytes && data.find(kEndOfFile) >= kMaxMeterTextBytes)
    throw InOutError(path + " is too large for a meter text file (more than " +
                     std::to_string(kMaxMeterTextBytes) + " bytes)");
  return data;
}

class Importer {
 public:
  explicit Importer(MeterRecord& record) : record_(record) {}

  // Whether a line set anything: a file of which none did is no meter text file.
  bool Used() const { return used_; }

  void Line(int number, const std::string& raw) {
    std::string text = Trim(raw);
    if (text.size() < 3) return;
    if (number <= 5) used_ = true;
    if (text.back() == '"') text.pop_back();
    if (text.front() == '"') text.erase(0, 1);
    switch (number) {
      case 1:
        record_.SetPartNumber(text);
        break;
      case 2:
        record_.SetIsFrequency(UpperAscii(text) != "VOLTS");
        if (record_.IsFrequency() && (text.front() == 'K' || text.front() == 'k'))
          kiloHertz_ = true;
        break;
      case 3:
        record_.SetIsMetric(UpperAscii(text) == "KG/HR");
        break;
      case 4:
        record_.SetDescription1(text);
        break;
      case 5:
        record_.SetDescription2(text);
        break;
      default:
        Point(text);
    }
  }

 private:
  void Point(const std::string& text) {
    int position = 1;
    auto signal = ReadField(Trim(ExtractToken(text, kFieldDelimiters, position)));
    auto flow = ReadField(Trim(ExtractToken(text, kFieldDelimiters, position)));
    if (!signal || !flow) return;
    if (kiloHertz_) {
      float hertz = *signal * 1000.0f;
      // A kilohertz value too large for a float in hertz fails like any other bad field.
      if (std::isinf(hertz)) return;
      signal = hertz;
    }
    int count = record_.PointCount() + 1;
    if (count > kMaxMeterPoints) throw RangeError();
    record_.SetPointCount(static_cast<int16_t>(count));
    record_.SetSignalValue(count, *signal);
    record_.SetSignalText(
        count, record_.IsFrequency() ? HertzSignalText(*signal) : VoltsSignalText(*signal));
    record_.SetFlowValue(count, *flow);
    record_.SetFlowText(count, FlowValueText(*flow));
    used_ = true;
  }

  MeterRecord& record_;
  bool used_ = false;
  bool kiloHertz_ = false;
};

}  // namespace

std::string ExtractToken(std::string_view line, std::string_view delimiters, int& position) {
  std::string token;
  if (line.empty()) return token;
  const int length = static_cast<int>(line.size());
  if (position < 1) position = 1;
  while (position < length && IsDelimiter(delimiters, line[position - 1]))
    ++position;
  while (position <= length && !IsDelimiter(delimiters, line[position - 1]))
    token += line[position++ - 1];
  return token;
}

void ImportMeterText(const std::string& path, MeterRecord& record) {
  const std::string data = ReadMeterText(path);
  const size_t end = std::min(data.find(kEndOfFile), data.size());

  // Worked on a copy so that a file that fails half-way leaves the caller's meter whole.
  MeterRecord result = record;
  result.SetPointCount(0);
  result.SetDescription1("");
  result.SetDescription2("");
  Importer importer(result);

  // Only a carriage return ends a line (a line feed right after it belongs to the same line
  // end); a lone line feed is text of the line.
  size_t pos = 0;
  int number = 0;
  while (pos < end) {
    size_t lineEnd = std::min(data.find('\r', pos), end);
    std::string line = data.substr(pos, lineEnd - pos);
    pos = lineEnd;
    if (pos < end) {
      ++pos;
      if (pos < end && data[pos] == '\n') ++pos;
    }
    importer.Line(++number, line);
  }
  if (!importer.Used())
    throw InOutError(path + " is no meter text file: no line of it holds a part number, " +
                     "description or point");
  record = result;
}

}  // namespace vyk
