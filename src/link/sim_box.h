#pragma once
// A model of the Box's side of the serial line, for running the program without hardware and
// for tests: it echoes every byte, prompts with ">", identifies itself to "Q", gives a reading
// to "M", and reads and writes its 256-byte EEPROM with the "C" commands. Knobs set its
// identity, its timing and the faults it shows.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/groups.h"

namespace vyk {

struct SimBoxConfig {
  char groupLetter = kGroups[kFord].boxLetter;
  std::string version = "1.0";  // three characters after the letter in the answer to "Q"
  // The reading line of "M": input, the four pot offsets and output, as 16-bit values.
  uint16_t input = 0x0200;
  std::array<uint16_t, 4> offsets{0, 0, 0, 0};
  uint16_t output = 0x0300;

  // Timing, in milliseconds. At a baud rate above 0 every byte takes 10 bit times on the line,
  // both ways: 9600 baud is 1.0417 ms a byte.
  int baud = 0;
  double byteDelayMs = 0;    // before the Box answers each byte it receives
  double eepromWriteMs = 0;  // after a write command's "+", before its prompt

  // Faults. Counts are 1-based; 0 turns a fault off.
  long stopAfterBytes = 0;        // receive this many bytes, then answer nothing any more
  long dropNthOutput = 0;         // the n-th byte the Box sends is lost
  long corruptNthOutput = 0;      // the n-th byte the Box sends arrives with its bits inverted
  bool wrongAcknowledge = false;  // "C" commands are acknowledged with "-" instead of "+"
  long closeAfterBytes = 0;       // receive this many bytes, then close the line
};

// One byte the Box sends, and how long after the previous event it becomes ready to send
// (its own processing time, not the line time).
struct SimOutput {
  uint8_t byte = 0;
  double delayMs = 0;
};

class SimBox {
 public:
  explicit SimBox(SimBoxConfig config = {});

  // The Box receives one byte; returns what it sends in answer, in order (faults applied).
  std::vector<SimOutput> Receive(uint8_t byte);

  // True once the line-closing fault has fired.
  bool LineClosed() const { return closed_; }

  std::array<uint8_t, 256>& Eeprom() { return eeprom_; }
  const std::array<uint8_t, 256>& Eeprom() const { return eeprom_; }
  SimBoxConfig& Config() { return config_; }

  // Seconds a byte spends on the line at the configured baud rate (0 without pacing).
  double ByteTimeMs() const { return config_.baud > 0 ? 10000.0 / config_.baud : 0.0; }

  // Counters, for tests and benchmarks.
  long BytesReceived() const { return received_; }
  long BytesSent() const { return sent_; }

 private:
  void Command(const std::string& line, std::vector<SimOutput>& out);
  void Send(std::vector<SimOutput>& out, const std::string& text, double delayMs = 0);

  SimBoxConfig config_;
  std::array<uint8_t, 256> eeprom_;
  std::string line_;
  long received_ = 0;
  long sent_ = 0;
  bool closed_ = false;
};

// The letter a Box of the group answers with; a byte that names no group gets a Ford Box.
char SimGroupLetter(uint8_t group);

}  // namespace vyk
