#include "operations/box/exchange.h"

#include <string_view>

#include "model/text/hex_text.h"

namespace vyk {

namespace {

int16_t Signed16(int value) {
  return static_cast<int16_t>(static_cast<uint16_t>(value));
}

}  // namespace

const std::string kNotFound = "Hardware not found";

// A failure message; when the line itself is gone, saying so is what helps the user. Not
// `shown`, it waits in boxMessage for the one box that also says what the Box was left with.
void Report(Session& s, BoxLink& link, const std::string& text, bool shown) {
  s.state.boxMessage = link.LineLost() ? "The connection to " + link.PortName() + " was lost (" +
                                             link.LostReason() + ")"
                                       : text;
  if (shown) s.dialogs.Error(s.state.boxMessage);
  // The message box cannot say where the program looked; the status bar does.
  if (s.state.boxMessage == kNotFound) s.view.StatusMessage(kNotFound + " on " + link.PortName());
}

// A byte as the "C" commands write it: two upper-case digits.
std::string Hex2(int value) {
  return FormatHex(static_cast<uint32_t>(value & 0xFF), 2);
}

// An exchange failed: a missing reply or a fault in it is the Box's and is reported; one the
// user ended (Abort, or closing the window) ends quietly, whatever the Box answered.
void TransferFailed(Session& s, BoxLink& link, const std::string& text, bool shown) {
  if (!link.Aborted()) Report(s, link, text, shown);
}

// The reading of an "M" answer, or nothing for a short answer or a field that is not four
// hexadecimal digits: such a field was garbled on the line, and taking it as 0 would show a
// reading the Box never gave.
std::optional<MonitorReading> ReadingOf(const std::string& r) {
  if (r.size() < 45) return std::nullopt;
  constexpr std::array<size_t, 6> kFieldAt{0, 5, 10, 15, 20, 40};
  std::array<int, 6> v{};
  for (size_t k = 0; k < kFieldAt.size(); ++k) {
    const auto value = ReadHexDigits(std::string_view(r).substr(kFieldAt[k], 4));
    if (!value) return std::nullopt;
    v[k] = Signed16(static_cast<int>(*value));
  }
  return MonitorReading{v[0], {v[1], v[2], v[3], v[4]}, v[5]};
}

// A read answer whose two characters before the "+" are hexadecimal digits; any other was
// garbled on the line and tells nothing of the byte.
bool Readable(const std::string& reply) {
  return reply.size() >= 3 && HexDigitValue(reply[reply.size() - 3]) >= 0 &&
         HexDigitValue(reply[reply.size() - 2]) >= 0;
}

// The byte a readable answer gives: its two characters before the "+".
uint8_t ByteOf(const std::string& reply) {
  return static_cast<uint8_t>(ParseHex(reply.substr(reply.size() - 3, 2)));
}

// A "C" command, awaiting its "+". False when the Box did not acknowledge (reported here) or
// the user aborted; an abort lets the exchange end at its prompt, so that nothing of it is
// still on its way when the next operation starts.
bool SendByteCommand(Session& s, BoxLink& link, const std::string& command, bool shown) {
  if (link.SendCommand(command, '+')) return true;
  if (!link.ReplyMissing() && !link.LineLost()) link.WaitForChar('>');
  TransferFailed(s, link, "Hardware did not acknowledge", shown);
  return false;
}

// Asks the Box for the byte at `a`, and once more when the answer is garbled. False when the
// Box did not acknowledge or the user aborted (a message for the first is given here); `reply`
// is the last answer, `readable` whether it was.
bool ReadByte(Session& s, BoxLink& link, int a, std::string& reply, bool& readable, bool shown) {
  for (int attempt = 1; attempt <= 2; ++attempt) {
    if (!SendByteCommand(s, link, "C" + Hex2(a) + "*", shown)) return false;
    reply = link.ReplyText();
    readable = Readable(reply);
    link.WaitForChar('>');
    if (s.state.abortRequest) return false;
    if (readable) break;
  }
  return true;
}

}  // namespace vyk
