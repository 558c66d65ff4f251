#pragma once
// A model of the Box's side of the serial line, for running the program without hardware and
// for tests: it echoes every byte, prompts with ">", identifies itself to "Q", gives a reading
// to "M", and reads and writes its 256-byte EEPROM with the "C" commands. Knobs set its
// identity, its timing and the faults it shows.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/groups.h"

namespace vyk {

// What a fault aimed at one command line does to it.
enum class LineFault {
  None,
  Drop,      // one byte the Box sends for the line is lost
  Corrupt,   // one byte the Box sends for the line arrives with its bits inverted
  Silence,   // the Box answers nothing to the line (no echo, no reply) and does not act on it
  Close,     // the line closes when the line's first byte arrives
  WrongAck,  // "-" where the line's acknowledgement belongs: the "+" of a "C" command, else
             // the closing prompt
};
inline constexpr int kLineFaultKinds = 6;

// The fault's name as `vyk boxsim --fault` takes it: "drop", "corrupt", "silence", "close",
// "wrong-ack" ("none" for None).
const char* LineFaultName(LineFault fault);

struct SimBoxConfig {
  char groupLetter = kGroups[kFord].boxLetter;
  std::string version = "1.0";  // three characters after the letter in the answer to "Q"
  // The reading line of "M": input, the four pot offsets and output, as 16-bit values.
  // Without a fixed output the Box drives what its own table, adjusted by the pots, gives for
  // the input, as hardware would.
  uint16_t input = 0x0200;
  std::array<uint16_t, 4> offsets{0, 0, 0, 0};
  std::optional<uint16_t> output;
  // The reading line keeps its length but every digit arrives with its top bit set, as line
  // noise would leave it: no field is hexadecimal.
  bool garbledReading = false;
  // The Box is on an engine: its input follows the repeatable drive of link/sim_drive.h from
  // its first reading on, and its offsets are its pot bytes, as a pot written into it shows.
  // A Box made to drive starts with the table of a new project of its group's letter.
  bool drive = false;

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
  // Reads of this address give its byte with the lowest bit inverted, as clean digits: a
  // cell that does not hold what was written (-1: none).
  int flipBitAddress = -1;

  // One fault aimed at one command line: the n-th line the Box receives, counted from 1; a
  // line ends with its CR, so the two CRs that wake the Box are lines 1 and 2.
  LineFault lineFault = LineFault::None;
  long faultLine = 0;
  // For Drop and Corrupt: which byte the Box sends for the line, counted from 0 (the echoes of
  // its characters, then the reply); a number past the line's last byte hits the last.
  int faultByte = 0;
  // Faults at random: each line meets one of the five kinds with this probability, the kind
  // and the byte drawn from a generator seeded with `faultSeed` when the Box is made, so a
  // run can be repeated.
  double faultRate = 0;
  uint32_t faultSeed = 1;
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
  // On the line again, as after its adapter is plugged back in; its faults stay as set.
  void PlugIn() {
    closed_ = inLine_ = false;
    line_.clear();
  }

  std::array<uint8_t, 256>& Eeprom() { return eeprom_; }
  const std::array<uint8_t, 256>& Eeprom() const { return eeprom_; }
  SimBoxConfig& Config() { return config_; }
  // Told every command line the Box acts on, as it read it (without its CR).
  std::function<void(const std::string&)> onCommand;
  // Milliseconds on the clock of whoever serves the Box: the drive's time. Without it the drive
  // stands at its start.
  std::function<double()> clockMs;

  // Seconds a byte spends on the line at the configured baud rate (0 without pacing).
  double ByteTimeMs() const { return config_.baud > 0 ? 10000.0 / config_.baud : 0.0; }

  // Counters, for tests and benchmarks.
  long BytesReceived() const { return received_; }
  long BytesSent() const { return sent_; }
  // Command lines begun, the one being received included.
  long LinesReceived() const { return lines_; }
  // Lines that met a line fault (aimed or at random), by kind.
  long FaultsMade(LineFault kind) const { return faultsMade_[static_cast<int>(kind)]; }

 private:
  void BeginLine();
  void Command(const std::string& line, std::vector<SimOutput>& out);
  void Send(std::vector<SimOutput>& out, const std::string& text, double delayMs = 0);
  void ApplyByteFaults(std::vector<SimOutput>& out, bool lineEnds);
  // The reading line's input, offsets and output.
  uint16_t Input();
  std::array<uint16_t, 4> Offsets() const;
  uint16_t Output(uint16_t input, const std::array<uint16_t, 4>& offsets) const;

  SimBoxConfig config_;
  std::array<uint8_t, 256> eeprom_;
  std::string line_;
  long received_ = 0;
  long sent_ = 0;
  bool closed_ = false;
  long lines_ = 0;
  bool inLine_ = false;  // a line has begun and its CR has not come
  LineFault fault_{};    // the fault of the line being received
  int faultByte_ = 0;
  int lineSent_ = 0;  // bytes sent for the line so far
  std::array<long, kLineFaultKinds> faultsMade_{};
  std::mt19937 random_;
  std::optional<double> driveStartMs_;
};

// The letter a Box of the group answers with; a byte that names no group gets a Ford Box.
char SimGroupLetter(uint8_t group);

}  // namespace vyk
