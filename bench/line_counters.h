#pragma once
// Counters around the real serial port and event-loop pump, for the benchmarks that run the
// Box operations against `vyk boxsim`: the bytes that cross the line each way, and the waits
// that ran out (each costs its full time-out).
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "link/qt/qt_pump.h"
#include "link/qt/qt_serial_port.h"
#include "operations/project/dialogs.h"

namespace vyk::bench {

class CountingPort : public Port {
 public:
  CountingPort() {
    inner_.onByte = [this](uint8_t b) {
      ++received;
      if (onByte) onByte(b);
    };
    inner_.onLost = [this](const std::string& r) {
      if (onLost) onLost(r);
    };
  }
  void Open(const std::string& name) override { inner_.Open(name); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  void Close() override { inner_.Close(); }
  void PurgeOutput() override { inner_.PurgeOutput(); }
  void PurgeInput() override { inner_.PurgeInput(); }
  bool SetDtr() override { return inner_.SetDtr(); }
  void WriteByte(uint8_t b) override {
    ++sent;
    inner_.WriteByte(b);
  }
  long Bytes() const { return sent + received; }

  long sent = 0;
  long received = 0;

 private:
  QtSerialPort inner_;
};

class CountingPump : public Pump {
 public:
  void ProcessPending() override { inner_.ProcessPending(); }
  void WaitAndProcess() override { inner_.WaitAndProcess(); }
  void StartTimer(double ms, std::function<void()> fired) override {
    inner_.StartTimer(ms, [this, fired = std::move(fired)] {
      ++timeouts;
      fired();
    });
  }
  void StopTimer() override { inner_.StopTimer(); }
  void Post(double ms, std::function<void()> work) override { inner_.Post(ms, std::move(work)); }
  double NowMs() const override { return inner_.NowMs(); }

  long timeouts = 0;  // timers that fired: the link's waits that ran out, and Settle's

 private:
  QtPump inner_;
};

// Answers Yes to every question and keeps every error shown (printing it when asked to).
class YesDialogs : public Dialogs {
 public:
  explicit YesDialogs(bool print = false) : print_(print) {}
  void Error(const std::string& text) override {
    if (print_) std::printf("error: %s\n", text.c_str());
    errors.push_back(text);
  }
  void Information(const std::string&) override {}
  Answer Question(const std::string&, QuestionButtons) override { return Answer::Yes; }
  Answer Warning(const std::string&, QuestionButtons) override { return Answer::Yes; }
  std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return {}; }
  bool AskProjectSetup(ProjectSetup& setup) override {
    setup.group = kGM;
    return true;
  }
  std::vector<std::string> errors;

 private:
  bool print_;
};

}  // namespace vyk::bench
