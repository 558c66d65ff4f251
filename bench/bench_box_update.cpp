// Box > Update EEPROM of 80 bytes against `vyk boxsim --baud 9600` on a pseudo-terminal, through
// the real serial-port code: wall time against the line-time bound of the lock-step exchange,
// the program's CPU time, and how long a Box that does not answer takes to be reported. Then
// `vyk box write` with the backup on, the whole program from its start, against a plain
// lock-step client that makes the same exchanges on its own.
#include <fcntl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "line_counters.h"
#include "operations/box/box_operations.h"
#include "operations/project/main_controls.h"
#include "operations/project/project_commands.h"
#include "support/boxsim_process.h"

namespace {

constexpr int kBaud = 9600;
constexpr double kByteMs = 10000.0 / kBaud;

// A simulated Box on its pseudo-terminal.
class BoxSim : public vyk::test::BoxSimProcess {
 public:
  explicit BoxSim(std::vector<std::string> args) : BoxSimProcess(VYK_CLI_PATH, std::move(args)) {}
};

double CpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double WallMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct Rig {
  vyk::AppState state;
  vyk::bench::YesDialogs dialogs{true};
  vyk::MainView view;
  vyk::Session session{state, dialogs, view, nullptr};
  vyk::QtPump pump;
  vyk::bench::CountingPort port;
  vyk::BoxLink link{port, pump, state};

  explicit Rig(const std::string& device) {
    vyk::FileNewClick(session);  // a GM project, not connected
    link.Open(device);
    link.Settle();
  }
};

// The plainest client there is: raw line, blocking reads, one byte at a time.
class LockStep {
 public:
  explicit LockStep(const std::string& device) : fd_(::open(device.c_str(), O_RDWR | O_NOCTTY)) {
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::cfsetspeed(&t, B9600);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(fd_, TCSANOW, &t);
  }
  ~LockStep() { ::close(fd_); }
  uint8_t Get() {
    uint8_t b = 0;
    if (::read(fd_, &b, 1) != 1) std::abort();
    return b;
  }
  // Each byte against its echo, then the reply up to each terminator.
  void Command(const std::string& text, const std::string& terminators) {
    for (char c : text + "\r") {
      if (::write(fd_, &c, 1) != 1) std::abort();
      Get();
    }
    for (char t : terminators)
      while (Get() != static_cast<uint8_t>(t)) {
      }
  }

 private:
  int fd_;
};

std::string Hex2(int v) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", v);
  return text;
}

// What `vyk box write` of a new GM project with the backup on says to a blank Box: the empty
// command, "Q", the 80 reads of the backup, then each address written and read back.
double LockStepWriteMs(const std::string& device, const std::array<uint8_t, 80>& image) {
  LockStep client(device);
  const double start = WallMs();
  client.Command("", ">");
  client.Command("Q", ">");
  for (int a = 0; a < 80; ++a)
    client.Command("C" + Hex2(a) + "*", "+>");
  for (int a = 0; a < 80; ++a) {
    client.Command("C" + Hex2(a) + Hex2(image[a]), "+>");
    client.Command("C" + Hex2(a) + "*", "+>");
  }
  return WallMs() - start;
}

void CompareWithLockStep() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("vyk-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder / "config");
  std::ofstream(folder / "config" / "vyk.ini")
      << "[Box]\nBackupBeforeUpdate=1\nPreviewBeforeUpdate=1\n";
  const std::string project = (folder / "p.VYK").string();
  const std::string vyk = VYK_CLI_PATH;
  if (std::system((vyk + " project new --group gm " + project + " >/dev/null").c_str()) != 0)
    std::abort();
  std::array<uint8_t, 80> image{};
  {
    std::ifstream in(project, std::ios::binary);
    in.seekg(512);
    in.read(reinterpret_cast<char*>(image.data()), image.size());
  }
  double program = 1e9;
  double plain = 1e9;
  for (int run = 0; run < 3; ++run) {
    {
      BoxSim sim({"--group", "gm", "--baud", std::to_string(kBaud)});
      const std::string command = vyk + " box write --port " + sim.Path() + " --config " +
                                  (folder / "config").string() + " --data " +
                                  (folder / "data").string() + " " + project + " >/dev/null 2>&1";
      const double start = WallMs();
      if (std::system(command.c_str()) != 0) std::printf("  vyk box write failed\n");
      program = std::min(program, WallMs() - start);
    }
    {
      BoxSim sim({"--group", "gm", "--baud", std::to_string(kBaud)});
      plain = std::min(plain, LockStepWriteMs(sim.Path(), image));
    }
  }
  std::printf("vyk box write, backup on, at %d baud (best of 3)\n", kBaud);
  std::printf("  vyk box write:       %.1f ms, start to exit\n", program);
  std::printf("  lock-step client:    %.1f ms, same exchanges\n", plain);
  std::printf("  ratio:               %.3f (target at most 1.05)\n", program / plain);
  fs::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
  vyk::UseLeanEventDispatcher();
  QCoreApplication app(argc, argv);

  {
    BoxSim sim({"--group", "gm", "--baud", std::to_string(kBaud)});
    Rig rig(sim.Path());
    long sent0 = rig.port.sent;
    long received0 = rig.port.received;
    double wall0 = WallMs();
    double cpu0 = CpuMs();
    vyk::BoxUpdateClick(rig.session, rig.link);
    double wall = WallMs() - wall0;
    double cpu = CpuMs() - cpu0;
    long bytes = (rig.port.sent - sent0) + (rig.port.received - received0);
    double bound = bytes * kByteMs;
    std::printf("Update EEPROM, 80 bytes at %d baud over a pseudo-terminal\n", kBaud);
    std::printf("  bytes on the line:   %ld sent, %ld received\n", rig.port.sent - sent0,
                rig.port.received - received0);
    std::printf("  wire-time bound:     %.1f ms\n", bound);
    std::printf("  wall time:           %.1f ms\n", wall);
    std::printf("  wall / bound:        %.3f (target at most 1.05)\n", wall / bound);
    std::printf("  CPU time:            %.1f ms = %.2f%% of wall (target under 2%%)\n", cpu,
                100 * cpu / wall);
  }
  {
    // The Box answers the two wake-up CRs, then nothing.
    BoxSim sim({"--group", "gm", "--baud", std::to_string(kBaud), "--stop-after", "2"});
    Rig rig(sim.Path());
    double wall0 = WallMs();
    bool found = vyk::ConnectBox(rig.session, rig.link, vyk::kGM);
    double wall = WallMs() - wall0;
    std::printf("A Box that does not answer\n");
    std::printf("  \"Hardware not found\" after %.1f ms (target 2000 +- 100)%s\n", wall,
                found ? " -- but it answered" : "");
  }
  CompareWithLockStep();
  return 0;
}
