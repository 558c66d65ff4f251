#include "link/box_link.h"

namespace vyk {

namespace {

constexpr int kFirstSlot = 1;
constexpr int kWrapSlot = 200;  // an index reaching it starts again at the first slot

int Next(int index) {
  return index + 1 == kWrapSlot ? kFirstSlot : index + 1;
}

}  // namespace

BoxLink::BoxLink(Port& port, Pump& pump, AppState& state)
    : port_(port), pump_(pump), state_(state) {
  state_.lineLost = false;  // a new link has lost nothing yet
  port_.onByte = [this](uint8_t byte) { StoreRxByte(byte); };
  port_.onLost = [this](const std::string& reason) {
    lostReason_ = reason.empty() ? "the line was closed" : reason;
    state_.boxConnected = false;
    state_.lineLost = true;
    if (onLineLost) onLineLost();
  };
}

void BoxLink::Open(const std::string& portName) {
  writeIndex_ = readIndex_ = kFirstSlot;
  timedOut_ = false;
  portName_ = portName;
  port_.Open(portName);
  // Only an open port ends the loss: the next exchange tries the device again.
  lostReason_.clear();
  state_.lineLost = false;
  FlushRx();
  port_.SetDtr();  // a pseudo-terminal refuses DTR; the Box needs nothing from it
  WriteRaw(13);
  WriteRaw(13);
}

void BoxLink::Settle(double ms) {
  bool settled = false;
  pump_.StartTimer(ms, [&settled] { settled = true; });
  // A Box answers each wake-up CR with its prompt: once both are in, nothing more is coming.
  while (!settled && PromptsUnread() < 2)
    pump_.WaitAndProcess();
  pump_.StopTimer();
}

int BoxLink::PromptsUnread() const {
  int prompts = 0;
  for (int i = readIndex_; i != writeIndex_; i = Next(i))
    prompts += ring_[i] == '>' ? 1 : 0;
  return prompts;
}

void BoxLink::FlushRx() {
  readIndex_ = writeIndex_;
  port_.PurgeOutput();
  port_.PurgeInput();
}

void BoxLink::StoreRxByte(uint8_t byte) {
  if (Next(writeIndex_) != readIndex_) {
    ring_[writeIndex_] = byte;
    writeIndex_ = Next(writeIndex_);
  }
  if (terminalEcho) terminalEcho(byte);
}

bool BoxLink::ReadRxByte(uint8_t& byte) {
  if (readIndex_ == writeIndex_) return false;
  byte = ring_[readIndex_];
  readIndex_ = Next(readIndex_);
  return true;
}

int BoxLink::Unread() const {
  int n = writeIndex_ - readIndex_;
  return n < 0 ? n + (kWrapSlot - kFirstSlot) : n;
}

void BoxLink::WriteRaw(uint8_t byte) {
  port_.WriteByte(byte);
}

void BoxLink::StartTimeout() {
  timedOut_ = false;
  pump_.StartTimer(kReplyTimeoutMs, [this] { timedOut_ = true; });
}

void BoxLink::StopTimeout() {
  pump_.StopTimer();
  timedOut_ = false;
}

bool BoxLink::TimedOut() const {
  return timedOut_ || LineLost();
}

// Each wait takes what has arrived first, then sleeps in the pump until the next byte, the
// reply timer or a user event; nothing spins.
bool BoxLink::SendEchoed(uint8_t byte) {
  WriteRaw(byte);
  StartTimeout();
  for (;;) {
    uint8_t echo;
    if (ReadRxByte(echo)) {
      StopTimeout();
      return true;
    }
    if (TimedOut()) {
      StopTimeout();
      return false;
    }
    pump_.WaitAndProcess();
  }
}

bool BoxLink::WaitForChar(uint8_t terminator) {
  reply_.clear();
  StartTimeout();
  for (;;) {
    uint8_t c;
    while (ReadRxByte(c)) {
      reply_ += static_cast<char>(c);
      if (c == terminator) {
        StopTimeout();
        return true;
      }
    }
    if (TimedOut()) break;
    pump_.WaitAndProcess();
  }
  StopTimeout();
  return false;
}

bool BoxLink::SendCommand(const std::string& text, uint8_t terminator) {
  if (onStatus) onStatus(text);
  for (char c : text) {
    SendEchoed(static_cast<uint8_t>(c));  // a missing echo costs its second; sending goes on
  }
  SendEchoed(13);
  replyMissing_ = false;
  aborted_ = false;
  if (terminator == 0) return true;
  const bool replied = WaitForChar(terminator);
  aborted_ = state_.abortRequest;
  if (!replied) {
    replyMissing_ = true;
    state_.abortRequest = true;
  }
  return !state_.abortRequest;
}

}  // namespace vyk
