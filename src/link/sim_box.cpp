#include "link/sim_box.h"

#include <optional>
#include <string_view>
#include <utility>

#include "link/sim_drive.h"
#include "model/eeprom_image.h"
#include "model/text/ascii_text.h"
#include "model/text/hex_text.h"

namespace vyk {

namespace {

constexpr uint8_t kCR = 13;
constexpr uint8_t kLF = 10;
// Longer lines are no command anyway; the cap keeps a client that never sends CR from
// growing the line without end (a length past every command's still answers "?").
constexpr size_t kMaxLine = 80;
// A random Drop or Corrupt picks one of the first bytes a line gets: a read command's 13.
constexpr int kRandomFaultBytes = 13;

// The byte written as two hexadecimal digits at `at` in the command line.
std::optional<uint8_t> HexPair(const std::string& line, size_t at) {
  if (line.size() < at + 2) return std::nullopt;
  auto value = ReadHexDigits(std::string_view(line).substr(at, 2));
  if (!value) return std::nullopt;
  return static_cast<uint8_t>(*value);
}

std::string Hex4(uint16_t value) {
  return FormatHex(value, 4);
}

}  // namespace

const char* LineFaultName(LineFault fault) {
  switch (fault) {
    case LineFault::None:
      return "none";
    case LineFault::Drop:
      return "drop";
    case LineFault::Corrupt:
      return "corrupt";
    case LineFault::Silence:
      return "silence";
    case LineFault::Close:
      return "close";
    case LineFault::WrongAck:
      return "wrong-ack";
  }
  return "none";
}

SimBox::SimBox(SimBoxConfig config) : config_(std::move(config)), random_(config_.faultSeed) {
  eeprom_.fill(0xFF);
  if (config_.drive) {
    uint8_t group = kFord;
    for (const HardwareGroup& g : kGroups)
      if (g.boxLetter == config_.groupLetter) group = g.byte;
    eeprom_ = NewImage(group).Bytes();
  }
}

void SimBox::BeginLine() {
  ++lines_;
  inLine_ = true;
  lineSent_ = 0;
  fault_ = LineFault::None;
  if (config_.faultRate > 0 &&
      std::uniform_real_distribution<double>(0, 1)(random_) < config_.faultRate) {
    fault_ =
        static_cast<LineFault>(std::uniform_int_distribution<int>(1, kLineFaultKinds - 1)(random_));
    faultByte_ = std::uniform_int_distribution<int>(0, kRandomFaultBytes - 1)(random_);
  }
  if (config_.lineFault != LineFault::None && lines_ == config_.faultLine) {
    fault_ = config_.lineFault;
    faultByte_ = config_.faultByte;
  }
  if (fault_ != LineFault::None) ++faultsMade_[static_cast<int>(fault_)];
}

std::vector<SimOutput> SimBox::Receive(uint8_t byte) {
  ++received_;
  if (closed_) return {};
  if (!inLine_) BeginLine();
  const bool lineEnds = byte == kCR;
  if (lineEnds) inLine_ = false;
  if ((config_.closeAfterBytes > 0 && received_ >= config_.closeAfterBytes) ||
      fault_ == LineFault::Close) {
    // The line goes with the byte that ends it: nothing of it comes back.
    closed_ = true;
    return {};
  }
  if (config_.stopAfterBytes > 0 && received_ > config_.stopAfterBytes) return {};
  if (fault_ == LineFault::Silence) return {};

  std::vector<SimOutput> out;
  Send(out, std::string(1, static_cast<char>(byte)), config_.byteDelayMs);
  if (lineEnds) {
    Command(UpperAscii(line_), out);
    line_.clear();
  } else if (byte != kLF && line_.size() <= kMaxLine) {
    line_ += static_cast<char>(byte);
  }
  ApplyByteFaults(out, lineEnds);
  return out;
}

// The byte faults count what the Box sends: every byte for the n-th-byte knobs, the line's own
// for a line fault. A dropped byte's wait still passes before the next one, so the bytes that
// do arrive keep their timing.
void SimBox::ApplyByteFaults(std::vector<SimOutput>& out, bool lineEnds) {
  std::vector<SimOutput> sent;
  sent.reserve(out.size());
  double carriedMs = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    SimOutput o = out[i];
    ++sent_;
    const int index = lineSent_++;
    const bool lastOfLine = lineEnds && i + 1 == out.size();
    const bool hit = (fault_ == LineFault::Drop || fault_ == LineFault::Corrupt) &&
                     (index == faultByte_ || (lastOfLine && index < faultByte_));
    const LineFault lineFault = hit ? fault_ : LineFault::None;
    if (hit) fault_ = LineFault::None;  // one byte only
    o.delayMs += carriedMs;
    carriedMs = 0;
    if (sent_ == config_.dropNthOutput || lineFault == LineFault::Drop) {
      carriedMs = o.delayMs;
      continue;
    }
    if (sent_ == config_.corruptNthOutput || lineFault == LineFault::Corrupt)
      o.byte = static_cast<uint8_t>(~o.byte);
    sent.push_back(o);
  }
  out = std::move(sent);
}

void SimBox::Command(const std::string& line, std::vector<SimOutput>& out) {
  const bool wrongAck = fault_ == LineFault::WrongAck;
  const char ack = config_.wrongAcknowledge || wrongAck ? '-' : '+';
  const std::string prompt = wrongAck ? "-" : ">";  // of the lines other than "C" commands
  if (onCommand) onCommand(line);
  if (line.empty()) {
    Send(out, "\r\n" + prompt);
  } else if (line == "Q") {
    std::string version = config_.version.substr(0, 3);
    version.resize(3, ' ');
    Send(out, "\r\n" + std::string(1, config_.groupLetter) + version + " Box\r\n" + prompt);
  } else if (line == "M") {
    const uint16_t input = Input();
    const std::array<uint16_t, 4> p = Offsets();
    std::string reading = Hex4(input) + " " + Hex4(p[0]) + " " + Hex4(p[1]) + " " + Hex4(p[2]) +
                          " " + Hex4(p[3]) + " 0000 0000 0000 " + Hex4(Output(input, p));
    if (config_.garbledReading) {
      for (char& c : reading)
        if (c != ' ') c = static_cast<char>(c | 0x80);
    }
    Send(out, "\r\n" + reading + "\r\n" + prompt);
  } else if (line.size() == 5 && line[0] == 'C' && HexPair(line, 1) && HexPair(line, 3)) {
    eeprom_[*HexPair(line, 1)] = *HexPair(line, 3);
    Send(out, std::string("\r\n") + ack);
    Send(out, "\r\n>", config_.eepromWriteMs);
  } else if (line.size() == 4 && line[0] == 'C' && HexPair(line, 1) && line[3] == '*') {
    uint8_t value = eeprom_[*HexPair(line, 1)];
    if (*HexPair(line, 1) == config_.flipBitAddress) value ^= 0x01;
    Send(out, "\r\n" + FormatHex(value, 2) + ack + "\r\n>");
  } else {
    Send(out, "\r\n?\r\n" + prompt);
  }
}

uint16_t SimBox::Input() {
  if (!config_.drive) return config_.input;
  const double now = clockMs ? clockMs() : 0;
  if (!driveStartMs_) driveStartMs_ = now;
  return DriveInput((now - *driveStartMs_) / 1000);
}

std::array<uint16_t, 4> SimBox::Offsets() const {
  if (!config_.drive) return config_.offsets;
  std::array<uint16_t, 4> offsets{};
  for (size_t k = 0; k < offsets.size(); ++k)  // a pot byte is a signed offset
    offsets[k] = static_cast<uint16_t>(static_cast<int8_t>(eeprom_[kFirstPotByte + k]));
  return offsets;
}

uint16_t SimBox::Output(uint16_t input, const std::array<uint16_t, 4>& p) const {
  if (config_.output) return *config_.output;
  EepromImage table;
  table.Bytes() = eeprom_;
  std::array<int, 4> offsets{};
  for (size_t k = 0; k < offsets.size(); ++k)
    offsets[k] = static_cast<int16_t>(p[k]);
  return static_cast<uint16_t>(BoxOutputCount(table, offsets, static_cast<int16_t>(input)));
}

// Queues text; only its first byte waits delayMs, the rest follow it at once.
void SimBox::Send(std::vector<SimOutput>& out, const std::string& text, double delayMs) {
  for (size_t i = 0; i < text.size(); ++i)
    out.push_back({static_cast<uint8_t>(text[i]), i == 0 ? delayMs : 0.0});
}

char SimGroupLetter(uint8_t group) {
  const HardwareGroup* named = FindGroup(group);
  return (named != nullptr ? *named : kGroups[kFord]).boxLetter;
}

}  // namespace vyk
