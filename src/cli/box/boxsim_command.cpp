// vyk boxsim: the simulated Box on a pseudo-terminal, for running the program and its
// end-to-end tests without hardware.
#include <array>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "link/pty_box.h"
#include "link/sim_box.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/text/hex_text.h"
#include "storage/regular_file.h"

namespace vyk::cli {

namespace {

struct BoxsimOptions {
  std::string group = "ford";
  std::string version = "1.0";
  int baud = 9600;
  std::string eeprom;
  double byteDelayMs = 0;
  double writeTimeMs = 0;
  std::string input;
  std::string output;
  std::string offsets;
  bool garbledReading = false;
  bool drive = false;
  long stopAfter = 0;
  long dropByte = 0;
  long corruptByte = 0;
  bool wrongAck = false;
  long closeAfter = 0;
  std::string fault = "none";
  long faultLine = 0;
  int faultByte = 0;
  double faultRate = 0;
  uint32_t seed = 1;
  std::string log;
};

LineFault LineFaultOfName(const std::string& name) {
  for (int k = 0; k < kLineFaultKinds; ++k)
    if (name == LineFaultName(static_cast<LineFault>(k))) return static_cast<LineFault>(k);
  return LineFault::None;  // the option's check admits no other name
}

std::vector<std::string> LineFaultNames() {
  std::vector<std::string> names;
  for (int k = 0; k < kLineFaultKinds; ++k)
    names.emplace_back(LineFaultName(static_cast<LineFault>(k)));
  return names;
}

#if defined(__unix__)
// "Faults made: drop 2, corrupt 1, ..." on its own line, for a soak run to add up.
std::string FaultTally(const SimBox& box) {
  std::string tally = "Faults made:";
  for (int k = 1; k < kLineFaultKinds; ++k) {
    const auto kind = static_cast<LineFault>(k);
    tally += std::string(k > 1 ? ", " : " ") + LineFaultName(kind) + " " +
             std::to_string(box.FaultsMade(kind));
  }
  return tally;
}
#endif

// 1 to 4 hexadecimal digits; a leading "-" gives the 16-bit two's complement, so an offset
// of -10 may be written "-A" as well as "FFF6".
uint16_t ParseHex16(const std::string& text, const std::string& what) {
  bool negative = !text.empty() && text[0] == '-';
  std::string_view digits = std::string_view(text).substr(negative ? 1 : 0);
  auto value = digits.size() <= 4 ? ReadHexDigits(digits) : std::nullopt;
  if (!value) throw UsageError(what + " '" + text + "' is no 16-bit hexadecimal number");
  return static_cast<uint16_t>(negative ? 0x10000u - *value : *value);
}

std::array<uint16_t, 4> ParseOffsets(const std::string& text) {
  std::array<uint16_t, 4> offsets{};
  size_t start = 0;
  for (int k = 0; k < 4; ++k) {
    size_t comma = text.find(',', start);
    if ((k < 3) != (comma != std::string::npos))
      throw UsageError("--offsets takes four hexadecimal numbers separated by commas: '" + text +
                       "'");
    offsets[k] = ParseHex16(text.substr(start, comma - start), "Offset " + std::to_string(k + 1));
    start = comma + 1;
  }
  return offsets;
}

// A project file carries the image after its 512-byte header; a bare image is all EEPROM.
std::array<uint8_t, 256> ReadEeprom(const std::string& path) {
  RegularFile file(path, RegularFile::Access::Read);
  const std::string bytes = file.Read(769);  // one past the largest: a longer file is no image
  size_t offset = 0;
  if (bytes.size() == 768) {
    offset = 512;
  } else if (bytes.size() != 256) {
    throw VykError("The EEPROM file " + path + " holds " +
                   (bytes.size() > 768 ? "more than 768" : std::to_string(bytes.size())) +
                   " bytes: expected a project file (768 bytes) or an EEPROM image (256 bytes)");
  }
  std::array<uint8_t, 256> eeprom{};
  for (size_t i = 0; i < eeprom.size(); ++i)
    eeprom[i] = static_cast<uint8_t>(bytes[offset + i]);
  return eeprom;
}

SimBoxConfig ConfigOf(const BoxsimOptions& o) {
  SimBoxConfig c;
  c.groupLetter = GroupOfCliName(o.group).boxLetter;
  c.version = o.version;
  c.baud = o.baud;
  c.byteDelayMs = o.byteDelayMs;
  c.eepromWriteMs = o.writeTimeMs;
  if (!o.input.empty()) c.input = ParseHex16(o.input, "--input");
  if (!o.output.empty()) c.output = ParseHex16(o.output, "--output");
  if (!o.offsets.empty()) c.offsets = ParseOffsets(o.offsets);
  c.garbledReading = o.garbledReading;
  c.drive = o.drive;
  if (c.drive && (!o.input.empty() || !o.offsets.empty()))
    throw UsageError("--drive sets the input and the offsets: give neither --input nor --offsets");
  c.stopAfterBytes = o.stopAfter;
  c.dropNthOutput = o.dropByte;
  c.corruptNthOutput = o.corruptByte;
  c.wrongAcknowledge = o.wrongAck;
  c.closeAfterBytes = o.closeAfter;
  c.lineFault = LineFaultOfName(o.fault);
  c.faultLine = o.faultLine;
  c.faultByte = o.faultByte;
  c.faultRate = o.faultRate;
  c.faultSeed = o.seed;
  if (c.lineFault != LineFault::None && c.faultLine < 1)
    throw UsageError("--fault needs --fault-line N: the command line it is aimed at");
  return c;
}

void RunBoxsim(const BoxsimOptions& o) {
  SimBoxConfig config = ConfigOf(o);
  std::array<uint8_t, 256> eeprom{};
  if (!o.eeprom.empty()) eeprom = ReadEeprom(o.eeprom);
#if defined(__unix__)
  PtyBox runner(config);
  if (!o.eeprom.empty()) runner.Box().Eeprom() = eeprom;
  runner.StopOnSignals();
  std::ofstream log;
  if (!o.log.empty()) {
    log.open(o.log, std::ios::app);
    if (!log) throw UsageError("Cannot open the log file " + o.log);
    runner.Box().onCommand = [&log](const std::string& line) { log << line << std::endl; };
  }
  // The path alone on the first line: scripts and tests read it to find the Box.
  std::cout << runner.DevicePath() << std::endl;
  std::cerr << "Simulated Box, group letter " << config.groupLetter << ", version \""
            << config.version << "\", " << config.baud << " baud"
            << (config.drive ? ", on a simulated drive" : "") << "; stop it with Ctrl-C\n";
  if (runner.Serve() == PtyBoxEnd::LineClosed)
    std::cerr << "Line closed after " << runner.Box().BytesReceived() << " bytes, as asked\n";
  if (config.faultRate > 0 || config.lineFault != LineFault::None)
    std::cerr << FaultTally(runner.Box()) << std::endl;
#else
  throw VykError(
      "vyk boxsim is not available here: it needs pseudo-terminals, which this system does not "
      "have. The port \"Simulator\" serves instead (vyk box ... --port Simulator, or "
      "Box > Options in the window)");
#endif
}

}  // namespace

void AddBoxsimCommand(CLI::App& app) {
  auto o = std::make_shared<BoxsimOptions>();
  auto* cmd = app.add_subcommand(
      "boxsim", "Serve a simulated Box on a pseudo-terminal; prints the device path first");
  cmd->add_option("--group", o->group, "Hardware group the Box reports (letter V, G or I)")
      ->check(CLI::IsMember(GroupCliNames()))
      ->capture_default_str();
  cmd->add_option("--version", o->version, "Version text after the letter (3 characters)")
      ->capture_default_str();
  cmd->add_option("--baud", o->baud, "Line speed in baud, 10 bits a byte; 0 answers at once")
      ->check(CLI::NonNegativeNumber)
      ->capture_default_str();
  cmd->add_option("--eeprom", o->eeprom,
                  "EEPROM contents: a project file (768 bytes) or a 256-byte image");
  cmd->add_option("--byte-delay", o->byteDelayMs, "Milliseconds before each echo")
      ->check(CLI::NonNegativeNumber);
  cmd->add_option("--write-time", o->writeTimeMs,
                  "Milliseconds an EEPROM write takes, between its \"+\" and its prompt")
      ->check(CLI::NonNegativeNumber);
  cmd->add_option("--input", o->input, "Input reading of \"M\", hexadecimal");
  cmd->add_option(
      "--output", o->output,
      "Output reading of \"M\", hexadecimal (default: what the Box's table and pots give for "
      "its input)");
  cmd->add_option("--offsets", o->offsets,
                  "The four pot offsets of \"M\", hexadecimal, as H,H,H,H (\"-A\" is FFF6)");
  cmd->add_flag("--garbled-reading", o->garbledReading,
                "Answer \"M\" with a reading line of the right length whose digits are garbled");
  cmd->add_flag("--drive", o->drive,
                "The Box is on an engine: its input follows a repeatable drive (idle, "
                "pull-away, cruise, a full-throttle pull, lift-off; 45 s, again and again) and "
                "its offsets are its pot bytes; without --eeprom it starts with a new table");
  cmd->add_option("--stop-after", o->stopAfter, "Answer nothing after this many bytes received")
      ->check(CLI::NonNegativeNumber);
  cmd->add_option("--drop-byte", o->dropByte, "Lose the N-th byte sent (echoes count; from 1)")
      ->check(CLI::NonNegativeNumber);
  cmd->add_option("--corrupt-byte", o->corruptByte,
                  "Invert the bits of the N-th byte sent (echoes count; from 1)")
      ->check(CLI::NonNegativeNumber);
  cmd->add_flag("--wrong-ack", o->wrongAck, "Acknowledge \"C\" commands with \"-\"");
  cmd->add_option("--close-after", o->closeAfter,
                  "Close the line when the N-th byte arrives, and end")
      ->check(CLI::NonNegativeNumber);
  cmd->add_option("--fault", o->fault,
                  "A fault aimed at the command line --fault-line names: drop or corrupt one "
                  "byte of its answer, silence (no answer to it), close the line at it, "
                  "wrong-ack (\"-\" for its \"+\", or for its prompt)")
      ->check(CLI::IsMember(LineFaultNames()))
      ->capture_default_str();
  cmd->add_option("--fault-line", o->faultLine,
                  "The command line --fault hits, from 1; the two wake-up CRs are lines 1, 2")
      ->check(CLI::NonNegativeNumber);
  cmd->add_option("--fault-byte", o->faultByte,
                  "For drop and corrupt: the byte of the line's answer, from 0 (its echoes "
                  "first); past the end, the last")
      ->check(CLI::NonNegativeNumber);
  cmd->add_option("--fault-rate", o->faultRate,
                  "Each command line meets one of the five faults at random with this "
                  "probability (0..1); the tally goes to stderr at the end")
      ->check(CLI::Range(0.0, 1.0));
  cmd->add_option("--seed", o->seed, "Seed of the random faults")->capture_default_str();
  cmd->add_option("--log", o->log, "Append every command line the Box receives to this file");
  cmd->callback([o] { RunBoxsim(*o); });
}

}  // namespace vyk::cli
