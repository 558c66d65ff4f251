#pragma once
// A sample of the fault sweep that runs both on the virtual clock and on a pseudo-terminal
// (`vyk box write|read` against `vyk boxsim --fault`), with the messages each point must give
// on both: the two simulated Boxes fail alike.
#include <string>
#include <vector>

namespace vyk::test {

// Command lines the Box has received when a transfer starts: in the window the two wake-up
// CRs, then the identification's empty line and "Q"; in `vyk box` the wake-up CRs alone.
inline constexpr long kLinesBeforeTransfer = 4;
inline constexpr long kCliLinesBeforeTransfer = 2;

inline const std::string kRetrieveStopped =
    "Retrieve stopped before all 80 bytes were read: the project was not changed";
inline const std::string kLineLost = "The connection to PORT was lost";

inline const std::string kNothingStored =
    "The Box stored nothing of this Update: it holds what it held before.";

// What a stopped Update left: the last address verified (empty: none) and the one whose write
// was acknowledged but not verified (empty: none).
inline std::string PartialText(const std::string& lastVerified, const std::string& unsure = "") {
  std::string held = lastVerified.empty() ? ""
                     : lastVerified == "00"
                         ? "address 00 was written and verified"
                         : "addresses 00.." + lastVerified + " were written and verified";
  if (!unsure.empty())
    held += std::string(held.empty() ? "" : ", ") + "address " + unsure + " may have changed";
  return "The Box holds a partial image: " + held + "; write the project again to complete it";
}

// The messages line by line: a failed Update tells what failed and what the Box holds in one.
inline std::vector<std::string> Lines(const std::vector<std::string>& messages) {
  std::vector<std::string> lines;
  for (const std::string& m : messages)
    for (size_t from = 0, end = 0; end != std::string::npos; from = end + 1)
      lines.push_back(m.substr(from, (end = m.find('\n', from)) - from));
  return lines;
}

struct FaultSamplePoint {
  const char* transfer;  // "write" (Update EEPROM) or "read" (Retrieve EEPROM)
  const char* fault;     // as `vyk boxsim --fault` takes it
  int command;           // the transfer's command line, from 1 (its empty line)
  int byte;              // drop and corrupt: the byte of that line's answer, from 0
  std::vector<std::string> messages;
};

// A GM project as File > New makes it, written into or read from a Box of blank EEPROM.
// Command 2 is "Q"; Update's command 2a+3 writes address a and 2a+4 reads it back;
// Retrieve's a+3 reads a.
inline const std::vector<FaultSamplePoint> kFaultSample = {
    {"write", "drop", 1, 0, {}},
    {"write", "drop", 82, 0, {}},
    {"read", "drop", 82, 0, {}},
    {"write", "corrupt", 1, 3, {"Hardware not found"}},                               // its prompt
    {"write", "corrupt", 9, 8, {"Hardware did not acknowledge", PartialText("02")}},  // "+"
    {"read", "corrupt", 42, 7, {}},  // a digit: asked once more
    {"write", "silence", 1, 0, {"Hardware not found"}},
    {"write", "silence", 10, 0, {"Hardware did not acknowledge", PartialText("02", "03")}},
    {"read", "silence", 82, 0, {"Hardware did not acknowledge", kRetrieveStopped}},
    {"write", "close", 1, 0, {kLineLost}},
    {"write", "close", 162, 0, {kLineLost, PartialText("4E", "4F")}},
    {"read", "close", 3, 0, {kLineLost, kRetrieveStopped}},
    {"write", "wrong-ack", 3, 0, {"Hardware did not acknowledge", kNothingStored}},
    {"read", "wrong-ack", 1, 0, {"Hardware not found"}},
    {"read", "wrong-ack", 51, 0, {"Hardware did not acknowledge", kRetrieveStopped}},
};

// The messages with the port's name as PORT and without the reason of a lost line, which
// is the port's own ("the device hung up", "the simulated Box closed the line").
inline std::vector<std::string> Normalized(std::vector<std::string> messages,
                                           const std::string& port) {
  for (std::string& m : messages) {
    for (size_t at = m.find(port); !port.empty() && at != std::string::npos; at = m.find(port))
      m.replace(at, port.size(), "PORT");
    if (m.rfind(kLineLost + " (", 0) == 0) m = kLineLost;
  }
  return messages;
}

}  // namespace vyk::test
