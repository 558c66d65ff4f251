#pragma once
// Why a serial device would not open, in the system's own words, and what the user can do
// about it; and the driver setting that keeps a USB adapter from holding bytes back.
#include <string>
#include <vector>

namespace vyk {

// Whether joining the group that owns a device would let the user read and write it: the
// group may read and write, and the user is neither its owner (whose own bits apply to them
// alone) nor already in the group.
bool GroupWouldGrantAccess(unsigned mode, unsigned ownerUid, unsigned ownerGid, unsigned userUid,
                           const std::vector<unsigned>& userGroups);

// The system's error number (errno) for opening `device` as a terminal for reading and
// writing; 0 when it opens.
int TerminalOpenError(const std::string& device);

// "Can't open specified device NAME (Error CODE, TEXT)" with the system's code and text,
// followed by what helps: another program holds the device (EBUSY), or the group to join
// when that would give access.
std::string OpenFailureText(const std::string& device, int code);

// Where the serial port named `name` is looked for, as Qt's serial port does: a name that
// starts with "/", "./" or "../" as it stands, any other in /dev.
std::string SerialDeviceLocation(const std::string& name);

// Why `name` cannot be a serial device when something else stands where it leads (a folder, a
// plain file, a pipe), or when a bare name missing from /dev names such a thing in the current
// folder; empty otherwise.
std::string NotADeviceText(const std::string& name);

// Asks the driver of the open terminal `fd` to pass each received byte on at once, where a
// USB adapter would otherwise hold it for its latency timer; a refusal leaves it as it is.
void AskLowLatency(int fd);

}  // namespace vyk
