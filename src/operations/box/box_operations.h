#pragma once
// Every operation that talks to the Box: identify it, take a reading, write the image into
// its EEPROM and read it back, and the main button that starts or aborts them.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/box_link.h"
#include "model/image_diff.h"
#include "operations/project/session.h"

namespace vyk {

inline const std::string kBusyMessage =
    "The Box is busy with another exchange: wait for it to end, or press Abort";

// Checks that the Box answers and is the hardware of the group with the project's version.
bool ConnectBox(Session& s, BoxLink& link, uint8_t group);

struct MonitorReading {
  int input = 0;  // as the Box sent it: 16-bit signed
  std::array<int, 4> offsets{};
  int output = 0;
};

// One "M" reading: the labels and the table as the Box's pots adjust it. True when drawn.
bool MonitorSample(Session& s, BoxLink& link, MonitorReading* reading = nullptr);

// The main button: Connect, Monitor, or (during a transfer) Abort.
void AbortBtnClick(Session& s, BoxLink& link);

// Called after each of the 80 addresses with the number done so far.
using TransferProgress = std::function<void(int done)>;

// Writes image bytes 0x00..0x4F into the Box, verifying each one; true when all 80 verified.
// One that stops part-way after its first write leaves AppState::boxPartial and
// boxLastAddressWritten set, shows them in the window and says so in an error box
// (PartialImageText); a complete one clears them.
//
// Right before its first write the Update asks the Box for its letter and version and stops,
// as ConnectBox would, when the Box is not the project's hardware: one identification per
// Update, whatever happened since the connection.
//
// With a data folder in the session and the backup or the preview switched on, the Box is
// read first, within the same exchange (after its identification): when it
// already holds the 80 bytes nothing is written (and the result is true); otherwise the
// preview shows what changes (Cancel ends the Update), and the backup is saved. When that
// read or save fails, nothing is written. Every Update that reaches the Box, successful or
// not, adds a line to the history.
struct UpdateReport {
  std::string outcome;                // as the history has it
  std::string backupPath;             // the backup saved, if any
  std::vector<std::string> warnings;  // what the check of the table found
};
bool BoxUpdateClick(Session& s, BoxLink& link, const TransferProgress& progress = {},
                    UpdateReport* report = nullptr, const TransferProgress& readProgress = {});
// Reads bytes 0x00..0x4F of the Box and, only when every one arrived, puts them into the image
// and shows them; true then. Otherwise the project stays exactly as it was. A garbled answer
// is asked for once more before the retrieve fails.
struct RetrieveOptions {
  // The Box's letter and version are checked against the project's before a byte is read.
  bool identify = false;
  // Keeps what was read (the command line saves the project) before the history is written;
  // false when it was not kept, with state.boxMessage saying why (empty: the user stopped it).
  std::function<bool()> keep;
};
bool BoxRetrieveClick(Session& s, BoxLink& link, const TransferProgress& progress = {},
                      const RetrieveOptions& options = {});

// Checks the Box's letter and version against the project's and reads its 80 bytes, as the
// read before an Update does, into `box` (bytes 0x50.. are the project's); the project is not
// changed. True when all 80 arrived.
bool ReadBoxImage(Session& s, BoxLink& link, EepromImage& box,
                  const TransferProgress& progress = {});

// The terminal's button: asks the Box for EEPROM byte 0; the answer shows in the terminal.
void Button1Click(Session& s, BoxLink& link);

}  // namespace vyk
