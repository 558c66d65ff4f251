// Box > Update EEPROM of 80 bytes against `vyk boxsim --baud 9600` on a pseudo-terminal, through
// the real serial-port code: wall time against the line-time bound of the lock-step exchange,
// the program's CPU time, and how long a Box that does not answer takes to be reported.
#include <time.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "line_counters.h"
#include "operations/box_operations.h"
#include "operations/main_controls.h"
#include "operations/project_commands.h"
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
  return 0;
}
