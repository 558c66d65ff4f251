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

void Report(Session& s, BoxLink& link, const std::string& text, bool shown) {
  s.state.boxMessage = link.LineLost() ? "The connection to " + link.PortName() + " was lost (" +
                                             link.LostReason() + ")"
                                       : text;
  if (shown) s.dialogs.Error(s.state.boxMessage);
  // The message box cannot say where the program looked; the status bar does.
  if (s.state.boxMessage == kNotFound) s.view.StatusMessage(kNotFound + " on " + link.PortName());
}

std::string Hex2(int value) {
  return FormatHex(static_cast<uint32_t>(value & 0xFF), 2);
}

void TransferFailed(Session& s, BoxLink& link, const std::string& text, bool shown) {
  if (!link.Aborted()) Report(s, link, text, shown);
}

std::optional<MonitorReading> ReadingOf(const std::string& r) {
  // A field garbled on the line taken as 0 would show a reading the Box never gave.
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

bool Readable(const std::string& reply) {
  return reply.size() >= 3 && HexDigitValue(reply[reply.size() - 3]) >= 0 &&
         HexDigitValue(reply[reply.size() - 2]) >= 0;
}

uint8_t ByteOf(const std::string& reply) {
  return static_cast<uint8_t>(ParseHex(reply.substr(reply.size() - 3, 2)));
}

bool SendByteCommand(Session& s, BoxLink& link, const std::string& command, bool shown) {
  if (link.SendCommand(command, '+')) return true;
  // The exchange ends at its prompt, so that nothing of it is still on its way when the next
  // operation starts.
  if (!link.ReplyMissing() && !link.LineLost()) link.WaitForChar('>');
  TransferFailed(s, link, "Hardware did not acknowledge", shown);
  return false;
}

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
