#include "operations/box_operations.h"

#include <cmath>

#include "model/conversions.h"
#include "model/entry_text.h"
#include "model/errors.h"
#include "model/groups.h"
#include "model/hex_text.h"
#include "model/number.h"
#include "operations/main_controls.h"
#include "operations/undo_history.h"

namespace vyk {

namespace {

constexpr int kTransferBytes = kBoxBytes;  // 0x00..0x4F

// Refuses a second operation while one waits for the Box, and marks the exchange running:
// while it runs the window takes only Abort, Help and Exit (LookOf), and the project
// operations refuse. The look is applied at both ends, as an exchange need not end with a
// refresh (the terminal's button).
class Exchange {
 public:
  Exchange(Session& s, BoxLink& link) : s_(s), link_(link) {
    if (link.Busy()) {
      s.dialogs.Error(kBusyMessage);
      return;
    }
    link.SetBusy(true);
    owner_ = true;
    s.view.ApplyLook(LookOf(s.state));
  }
  ~Exchange() {
    if (!owner_) return;
    link_.SetBusy(false);
    s_.view.ApplyLook(LookOf(s_.state));
  }
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;
  bool Started() const { return owner_; }

 private:
  Session& s_;
  BoxLink& link_;
  bool owner_ = false;
};

// A failure message; when the line itself is gone, saying so is what helps the user.
void Report(Session& s, BoxLink& link, const std::string& text) {
  if (link.LineLost()) {
    s.dialogs.Error("The connection to " + link.PortName() + " was lost (" + link.LostReason() +
                    ")");
  } else {
    s.dialogs.Error(text);
  }
}

// A byte as the "C" commands write it: two upper-case digits.
std::string Hex2(int value) {
  return FormatHex(static_cast<uint32_t>(value & 0xFF), 2);
}

bool Ask(Session& s, const std::string& question) {
  return s.dialogs.Question(question, QuestionButtons::YesNo) == Answer::Yes;
}

// A transfer command failed: a missing reply is the Box's fault and is reported; an abort the
// user asked for ends the transfer quietly.
void TransferFailed(Session& s, BoxLink& link, const std::string& text) {
  if (link.ReplyMissing() || link.LineLost()) Report(s, link, text);
}

// The main button turns into Abort for the length of a transfer; true when the Box prompted.
bool StartTransfer(Session& s, BoxLink& link) {
  s.state.buttonMode = ButtonMode::Abort;
  s.view.ApplyLook(LookOf(s.state));
  s.state.abortRequest = false;
  link.FlushRx();
  if (link.SendCommand("", '>')) return true;
  TransferFailed(s, link, "Hardware not found");
  return false;
}

int16_t Signed16(int value) {
  return static_cast<int16_t>(static_cast<uint16_t>(value));
}

float ChartX(const AppState& st, int x) {
  return st.controls.inputRGrp == kFrequency ? RowInputHertz(st.conversion, x) : RowInputVolts(x);
}

float ChartY(const AppState& st, int y) {
  return st.controls.outputRGrp == kFrequency ? CountOutputHertz(st.conversion, y)
                                              : CountOutputVolts(st.conversion, y);
}

}  // namespace

bool ConnectBox(Session& s, BoxLink& link, uint8_t group) {
  Exchange exchange(s, link);
  if (!exchange.Started()) return false;
  AppState& st = s.state;
  st.boxConnected = false;
  link.FlushRx();
  auto fail = [&](const std::string& text) {
    Report(s, link, text);
    link.FlushRx();
    return false;
  };
  if (!link.SendCommand("", '>')) return fail("Hardware not found");
  if (!link.SendCommand("Q", '>')) return fail("Invalid response from hardware (error 1)");
  const std::string r = link.ReplyText();
  if (r.size() < 10) return fail("Invalid response from hardware (error 2)");
  const HardwareGroup* named = FindGroup(group);
  if (named != nullptr && r[2] != named->boxLetter)
    return fail(std::string(named->name) + " version hardware not found");
  std::optional<float> version;
  try {
    version = ReadNumber(Trim(r.substr(3, 3)));
  } catch (const OverflowError&) {
    version.reset();
  }
  if (!version) return fail("Invalid response from hardware (error 4)");
  // Times ten at extended precision: 0.9 as a float gives 8, not 9.
  long double tenths = std::trunc(static_cast<long double>(*version) * 10);
  if (tenths != st.header.RequiredVersion()) return fail("Incorrect hardware version");
  st.boxConnected = true;
  return true;
}

std::vector<int> AdjustedCounts(const EepromImage& image, const std::array<int, 4>& p) {
  std::vector<int> counts;
  for (int x = 0; x < kCurvePoints; ++x) {
    int a;
    if (x < 4) {
      a = p[0] * x / 4;
    } else if (x < 28) {
      int segment = (x - 4) / 8;  // 4..11, 12..19, 20..27
      int j = x - 4 - 8 * segment;
      a = p[segment] + (p[segment + 1] - p[segment]) * j / 8;
    } else {
      a = p[3] * (4 - (x - 28)) / 4;
    }
    int y = image.Entry(x) + a;
    counts.push_back(y < 0 ? 0 : y > 1023 ? 1023 : y);
  }
  return counts;
}

bool MonitorSample(Session& s, BoxLink& link, MonitorReading* reading) {
  Exchange exchange(s, link);
  if (!exchange.Started()) return false;
  AppState& st = s.state;
  link.FlushRx();
  if (!link.SendCommand("", '>')) {
    Report(s, link, "Hardware not found");
    return false;
  }
  if (!link.SendCommand("M", 10)) {
    Report(s, link, "Invalid response from hardware (error 1)");
    return false;
  }
  link.WaitForChar('>');
  const std::string r = link.ReplyText();
  link.FlushRx();
  if (r.size() < 45) {
    Report(s, link, "Invalid response from hardware (error 2)");
    return false;
  }
  MonitorReading m;
  m.input = Signed16(ParseHex(r.substr(0, 4)));
  for (int k = 0; k < 4; ++k)
    m.offsets[k] = Signed16(ParseHex(r.substr(5 + 5 * k, 4)));
  m.output = Signed16(ParseHex(r.substr(40, 4)));
  if (reading) *reading = m;

  st.chart.series2.clear();
  std::vector<int> counts = AdjustedCounts(st.image, m.offsets);
  for (int x = 0; x < kCurvePoints; ++x)
    st.chart.series2.push_back({ChartX(st, x), ChartY(st, counts[x])});
  s.view.ChartChanged();

  // Both texts first: a reading the conversions refuse leaves both labels as they were.
  const uint8_t group = st.header.Group();
  std::string in = st.controls.inputRGrp == kVoltage
                       ? "V in = " + OutputVoltsText(st.conversion, m.input)
                       : "F in = " + FrequencyText(st.conversion, group, m.input);
  std::string out = st.controls.outputRGrp == kVoltage
                        ? "V Out = " + OutputVoltsText(st.conversion, m.output)
                        : "F Out = " + FrequencyText(st.conversion, group, m.output);
  st.controls.dataInLabel = in;
  st.controls.dataOutLabel = out;
  s.view.ControlsChanged();
  return true;
}

void AbortBtnClick(Session& s, BoxLink& link) {
  switch (s.state.buttonMode) {
    case ButtonMode::Monitor:
      MonitorSample(s, link);
      RefreshWindow(s);
      break;
    case ButtonMode::Connect:
      ConnectBox(s, link, s.state.header.Group());
      RefreshWindow(s);
      break;
    case ButtonMode::Abort:
      s.state.abortRequest = true;
      break;
  }
}

void Button1Click(Session& s, BoxLink& link) {
  Exchange exchange(s, link);
  if (!exchange.Started()) return;
  link.FlushRx();
  for (char c : std::string("C00*\r")) {
    link.SendEchoed(static_cast<uint8_t>(c));
    link.PumpEvents();
  }
}

namespace {

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

// Asks the Box for the byte at `a`, and once more when the answer is garbled. False when the
// Box did not acknowledge or the user aborted (a message for the first is given here); `reply`
// is the last answer, `readable` whether it was.
bool ReadByte(Session& s, BoxLink& link, int a, std::string& reply, bool& readable) {
  for (int attempt = 1; attempt <= 2; ++attempt) {
    if (!link.SendCommand("C" + Hex2(a) + "*", '+')) {
      TransferFailed(s, link, "Hardware did not acknowledge");
      return false;
    }
    reply = link.ReplyText();
    readable = Readable(reply);
    link.WaitForChar('>');
    if (s.state.abortRequest) return false;
    if (readable) break;
  }
  return true;
}

// Writes and verifies bytes 0x00..0x4F until one fails or the user aborts. True when all
// verified; `lastSent` is the last address whose write command went out (-1: none). A garbled
// read-back is asked for once more: a byte is verified only by an answer that reads.
bool WriteBytes(Session& s, BoxLink& link, const TransferProgress& progress, int& lastSent) {
  const AppState& st = s.state;
  for (int a = 0; a < kTransferBytes; ++a) {
    const int v = st.image.Byte(a);
    lastSent = a;
    if (!link.SendCommand("C" + Hex2(a) + Hex2(v), '+')) {
      TransferFailed(s, link, "Hardware did not acknowledge");
      return false;
    }
    link.WaitForChar('>');
    if (st.abortRequest) return false;
    std::string r;
    bool readable = false;
    if (!ReadByte(s, link, a, r, readable)) return false;
    if (!readable || ByteOf(r) != v) {
      Report(s, link, "Verify error: " + Hex2(v) + " " + r);
      return false;
    }
    if (progress) progress(a + 1);
  }
  return true;
}

// Reads bytes 0x00..0x4F into `staged` until one fails or the user aborts; true when every
// byte arrived. An answer whose two characters before the "+" are not hexadecimal digits was
// garbled on the line: that address is asked once more, and a second garbled answer fails.
bool ReadBytes(Session& s, BoxLink& link, const TransferProgress& progress,
               std::array<uint8_t, kTransferBytes>& staged) {
  for (int a = 0; a < kTransferBytes; ++a) {
    std::string r;
    bool readable = false;
    if (!ReadByte(s, link, a, r, readable)) return false;
    if (!readable) {
      Report(s, link, "The Box answered address " + Hex2(a) + " with a garbled value twice");
      return false;
    }
    staged[a] = ByteOf(r);
    if (progress) progress(a + 1);
  }
  return true;
}

}  // namespace

bool BoxUpdateClick(Session& s, BoxLink& link, const TransferProgress& progress) {
  if (!Ask(s, "Ok to update EEPROM data?")) return false;
  AppState& st = s.state;
  bool complete = false;
  {
    Exchange exchange(s, link);
    if (!exchange.Started()) return false;
    int lastSent = -1;
    if (StartTransfer(s, link)) complete = WriteBytes(s, link, progress, lastSent);
    if (complete) {
      st.boxPartial = false;
      st.boxLastAddressWritten = kTransferBytes - 1;
    } else if (lastSent >= 0) {
      st.boxPartial = true;
      st.boxLastAddressWritten = lastSent;
    }
  }
  RefreshWindow(s);
  if (!complete && st.boxPartial) s.dialogs.Error(PartialImageText(st));
  return complete;
}

bool BoxRetrieveClick(Session& s, BoxLink& link, const TransferProgress& progress) {
  if (!Ask(s, "Ok to retrive EEPROM data?")) return false;
  std::array<uint8_t, kTransferBytes> staged{};
  bool prompted = false;
  bool complete = false;
  {
    Exchange exchange(s, link);
    if (!exchange.Started()) return false;
    prompted = StartTransfer(s, link);
    if (prompted) complete = ReadBytes(s, link, progress, staged);
  }
  if (!complete) {
    // Box bytes mixed with the user's unsaved edits would be neither: keep the project whole.
    RefreshWindow(s);
    if (prompted)
      s.dialogs.Error(
          "Retrieve stopped before all 80 bytes were read: the project was not changed");
    return false;
  }
  AppState& st = s.state;
  ProjectChange change(s, "Retrieve EEPROM");
  for (int a = 0; a < kTransferBytes; ++a)
    st.image.SetByte(a, staged[a]);
  uint8_t mode = st.image.Byte(kModeByte);
  ShowOutputRGrp(s, (mode & kOutputKindMask) == kFrequencyOutput ? kFrequency : kVoltage);
  ShowInputRGrp(s, (mode & kFrequencyInput) != 0 ? kFrequency : kVoltage);
  ShowInvertLimit(s, (mode & kInvertLimit) != 0);
  for (int k = 1; k <= 4; ++k)
    AdjustPot(s, k, 0);
  ShowLimitText(s, Trim(EntryOutputText(st, kLimitEntry)));
  st.projectModified = false;
  RefreshWindow(s);
  return true;
}

bool ReadBoxBytes(Session& s, BoxLink& link, std::array<uint8_t, kBoxBytes>& bytes,
                  const TransferProgress& progress) {
  bool complete = false;
  {
    Exchange exchange(s, link);
    if (!exchange.Started()) return false;
    if (StartTransfer(s, link)) complete = ReadBytes(s, link, progress, bytes);
  }
  RefreshWindow(s);  // the main button is Abort no more
  return complete;
}

}  // namespace vyk
