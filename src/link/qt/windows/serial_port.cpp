#include <windows.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/device_access.h"
#include "link/qt/qt_pump.h"
#include "link/qt/qt_serial_port.h"
#include "link/qt/serial_port.h"
#include "storage/windows/wide_text.h"

// A COM port read by a thread of its own: WaitCommEvent, on which QSerialPort waits, is never
// signalled by some drivers (and by Wine on a port linked to a pseudo-terminal), while ReadFile
// with COMMTIMEOUTS returns on the first byte. The handle is overlapped, so that a write does
// not queue behind the read in progress; the bytes reach the link through the event loop.
namespace vyk {

namespace {

// "COM3" and "\\.\COM3" both name the device; COM10 and above need the second form.
constexpr std::string_view kDevicePrefix = R"(\\.\)";

std::string ShortName(const std::string& name) {
  return name.rfind(kDevicePrefix, 0) == 0 ? name.substr(kDevicePrefix.size()) : name;
}

std::wstring DevicePath(const std::string& name) {
  return Wide(std::string(kDevicePrefix) + ShortName(name));
}

std::string SystemText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = n > 0 ? Narrow(std::wstring_view(text, n)) : std::string();
  ::LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == '.'))
    out.pop_back();
  return out.empty() ? "error " + std::to_string(code) : out;
}

// " Ports present: COM3, COM4." or " No serial port is present."
std::string PortsPresentText() {
  std::string names;
  for (const SerialDevice& device : PresentSerialDevices()) {
    // Wine lists its ports by their device path.
    names += (names.empty() ? "" : ", ") + ShortName(device.name);
  }
  return names.empty() ? " No serial port is present." : " Ports present: " + names + ".";
}

class WinSerialPort : public Port {
 public:
  WinSerialPort() = default;
  ~WinSerialPort() override { Close(); }

  void Open(const std::string& name) override {
    Close();
    HANDLE h = ::CreateFileW(DevicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD code = ::GetLastError();
      if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        throw PortError("Specified device not found (" + name + ")." + PortsPresentText());
      // A COM port is opened by one program at a time: denied means another one has it.
      if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION)
        throw PortError(OpenFailureText(name, EBUSY));
      throw PortError("Can't open specified device " + name + " (" + SystemText(code) + ")");
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ::GetCommState(h, &dcb);
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fOutX = dcb.fInX = FALSE;
    dcb.fAbortOnError = FALSE;
    // No time-outs: a read ends when its byte has come, and Close ends the wait for it.
    COMMTIMEOUTS timeouts{0, 0, 0, 0, 0};
    if (!::SetCommState(h, &dcb) || !::SetCommTimeouts(h, &timeouts)) {
      const DWORD code = ::GetLastError();
      ::CloseHandle(h);
      throw PortError("Can't open specified device " + name + " (" + SystemText(code) + ")");
    }
    ::PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    handle_ = h;
    name_ = name;
    reading_ = std::make_unique<Reading>();
    ++generation_;
    reader_ = std::thread(
        [this, h, r = reading_.get(), generation = generation_] { Read(h, *r, generation); });
  }

  bool IsOpen() const override { return handle_ != nullptr; }

  void Close() override {
    if (handle_ == nullptr) return;
    ::SetEvent(reading_->stop);
    if (reader_.joinable()) reader_.join();
    ::CancelIoEx(handle_, nullptr);  // the read the reader left waiting
    ::CloseHandle(handle_);
    handle_ = nullptr;
    // The cancelled read still writes into its OVERLAPPED as it ends: freed only once it has.
    if (::WaitForSingleObject(reading_->ov.hEvent, 2000) == WAIT_OBJECT_0)
      reading_.reset();
    else
      static_cast<void>(reading_.release());
    ++generation_;  // what the reader posted before it stopped is dropped
  }

  void PurgeOutput() override {
    if (handle_ != nullptr) ::PurgeComm(handle_, PURGE_TXCLEAR);
  }
  void PurgeInput() override {
    if (handle_ != nullptr) ::PurgeComm(handle_, PURGE_RXCLEAR);
  }
  bool SetDtr() override { return handle_ != nullptr && ::EscapeCommFunction(handle_, SETDTR); }

  void WriteByte(uint8_t byte) override {
    if (handle_ == nullptr) return;
    OVERLAPPED ov{};
    ov.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD written = 0;
    BOOL ok = ::WriteFile(handle_, &byte, 1, &written, &ov);
    if (!ok && ::GetLastError() == ERROR_IO_PENDING)
      ok = ::GetOverlappedResult(handle_, &ov, &written, TRUE);
    const DWORD code = ok ? 0 : ::GetLastError();
    ::CloseHandle(ov.hEvent);
    if (!ok) Lose(SystemText(code));
  }

 private:
  // What one opening's reader reads into, and the event that tells it to stop. One byte a
  // read: Wine's overlapped read of a COM port waits until the buffer is full, while a
  // one-byte read ends at the first byte everywhere.
  struct Reading {
    OVERLAPPED ov{};
    HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    char buffer[1] = {};
    Reading() { ov.hEvent = ::CreateEventW(nullptr, TRUE, TRUE, nullptr); }
    ~Reading() {
      ::CloseHandle(ov.hEvent);
      ::CloseHandle(stop);
    }
  };

  // The reader thread: hands every byte to the event loop, and the loss of the line. The stop
  // event stays set, so a stop that comes before a read begins still ends the wait for it.
  void Read(HANDLE h, Reading& r, uint64_t generation) {
    for (;;) {
      DWORD got = 0;
      ::ResetEvent(r.ov.hEvent);
      BOOL ok = ::ReadFile(h, r.buffer, sizeof r.buffer, &got, &r.ov);
      if (!ok && ::GetLastError() == ERROR_IO_PENDING) {
        const HANDLE events[2] = {r.stop, r.ov.hEvent};
        if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) return;
        ok = ::GetOverlappedResult(h, &r.ov, &got, FALSE);
      }
      if (::WaitForSingleObject(r.stop, 0) == WAIT_OBJECT_0) return;
      if (!ok) {
        const std::string reason = SystemText(::GetLastError());
        Deliver(generation, [this, reason] { Lose(reason); });
        ::SetEvent(r.ov.hEvent);  // no read is left waiting: Close need not wait for one
        return;
      }
      if (got == 0) continue;
      std::vector<uint8_t> bytes(r.buffer, r.buffer + got);
      Deliver(generation, [this, bytes = std::move(bytes)] {
        for (uint8_t b : bytes) {
          if (onByte) onByte(b);
        }
      });
    }
  }

  // Runs `work` in the event loop's thread, unless the port was closed or reopened meanwhile.
  template <typename Work>
  void Deliver(uint64_t generation, Work work) {
    QMetaObject::invokeMethod(
        &receiver_,
        [this, generation, work = std::move(work)] {
          if (generation == generation_) work();
          EndTheWait();
        },
        Qt::QueuedConnection);
  }

  void Lose(const std::string& reason) {
    Close();
    if (onLost) onLost(reason);
  }

  HANDLE handle_ = nullptr;
  std::string name_;
  std::thread reader_;
  std::unique_ptr<Reading> reading_;
  uint64_t generation_ = 0;  // read and changed in the event loop's thread only
  QObject receiver_;         // lives in the event loop's thread
};

}  // namespace

std::unique_ptr<Port> MakeSerialPort() {
  return std::make_unique<WinSerialPort>();
}

}  // namespace vyk
