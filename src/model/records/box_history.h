#pragma once
// The history of Box transfers: one line per Update and Retrieve, successful or not, appended
// to a file in the user's data folder and never rewritten. A line is tab-separated, fields in
// the order of HistoryEntry; a tab, line break or backslash inside a field is written as \t,
// \n, \r or \\. Lines starting with "#" are comments.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vyk {

inline constexpr char kHistoryFileName[] = "history.tsv";

struct HistoryEntry {
  std::string time;       // local time, ISO 8601 with its offset: 2026-12-08T08:30:05+0100
  std::string operation;  // "update" or "retrieve"
  std::string port;
  std::string letter;     // the Box's group letter, as last identified; empty when unknown
  std::string version;    // its version text
  std::string project;    // the project file, or "(new)"
  std::string checksum;   // CRC-32 of the 80 bytes written or read (8 hex digits); empty: none
  std::string outcome;    // one of the kOutcome texts
  std::string stoppedAt;  // where a transfer that did not finish stopped ("write 1A"); empty
  std::string message;    // the error the user was shown, if any
  std::string backup;     // the backup taken before an update, if any
  bool operator==(const HistoryEntry&) const = default;
};

inline constexpr char kOutcomeOk[] = "ok";
inline constexpr char kOutcomeNoChange[] = "no change";
inline constexpr char kOutcomeCancelled[] = "cancelled";
inline constexpr char kOutcomeAborted[] = "aborted";
inline constexpr char kOutcomeFailed[] = "failed";

std::string HistoryPath(const std::string& dataFolder);
// Appends one line, making the folder when missing. Throws InOutError.
void AppendHistory(const std::string& dataFolder, const HistoryEntry& entry);
// Hands the newest `last` entries to `entry`, newest first, reading the file from its end, so
// that a long history costs no more than the lines wanted. A line that cannot be read (cut
// short by a full disk, too long, junk) is passed over; returns how many were, among the lines
// read. A missing file has no entries; a folder, pipe or device in its place throws InOutError.
inline constexpr size_t kEveryEntry = static_cast<size_t>(-1);
size_t ReadHistoryNewestFirst(const std::string& dataFolder, size_t last,
                              const std::function<void(const HistoryEntry&)>& entry);
// Every entry, oldest first, lines that cannot be read left out.
std::vector<HistoryEntry> ReadHistory(const std::string& dataFolder);

// The line of an entry (without its line break) and back. A comment or empty line is none;
// neither is a line of fewer fields.
std::string HistoryLine(const HistoryEntry& entry);
bool ParseHistoryLine(std::string_view line, HistoryEntry& entry);

// CRC-32 (as zip and PNG compute it) of `bytes`, as 8 upper-case hexadecimal digits.
std::string Crc32Text(const uint8_t* bytes, size_t count);
// A moment as local time, by default ISO 8601 with the zone's offset (strftime format).
std::string LocalTimeText(std::time_t when, const char* format = "%Y-%m-%dT%H:%M:%S%z");

}  // namespace vyk
