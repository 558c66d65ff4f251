// The live view from the command line: `vyk box live --csv` against `vyk boxsim --baud 9600
// --drive` on a pseudo-terminal, for as many seconds as the first argument says (default 30;
// 3600 for the hour of a long recording). Prints the readings per second against what the
// bytes on the wire allow, the program's CPU share of one core, and its memory at the start and
// at the end of the recording.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/boxsim_process.h"

namespace {

constexpr int kBaud = 9600;
// A reading is "M" and CR sent, each awaiting its echo, then the CR's echo and the 49 bytes
// of the answer ("\r\n", 44 characters, "\r\n", ">"): 53 bytes one after another.
constexpr int kBytesPerReading = 53;

long RssKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// CPU seconds the process has used so far.
double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t end = text.rfind(')');  // the name may hold blanks
  if (end == std::string::npos) return 0;
  std::istringstream fields(text.substr(end + 2));
  std::string skip;
  for (int k = 3; k < 14; ++k)
    fields >> skip;
  double user = 0, system = 0;
  fields >> user >> system;
  return (user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The rows of the log and the seconds from its first reading to its last.
std::pair<long, double> RowsAndSpan(const std::string& path) {
  std::ifstream in(path);
  long rows = -2;  // the head rows
  std::string line, first, last;
  while (std::getline(in, line)) {
    if (++rows == 1) first = line;
    if (rows >= 1) last = line;
  }
  return {rows, rows > 1 ? std::atof(last.c_str()) - std::atof(first.c_str()) : 0.0};
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  vyk::test::BoxSimProcess box(VYK_CLI_PATH,
                               {"--baud", std::to_string(kBaud), "--drive", "--group", "gm"});
  const std::string log =
      (std::filesystem::temp_directory_path() / ("bench_live_" + std::to_string(getpid()) + ".csv"))
          .string();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(VYK_CLI_PATH, VYK_CLI_PATH, "box", "live", "--port", box.Path().c_str(), "--group", "gm",
          "--seconds", std::to_string(seconds).c_str(), "--csv", log.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  // Memory and CPU are sampled from the fifth second on: the steady state, not the start-up.
  std::vector<long> rss;
  std::vector<double> cpu;
  int status = 0;
  rusage usage{};
  for (;;) {
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const double cpuNow = CpuSeconds(pid);
    const long rssNow = RssKb(pid);
    if (wait4(pid, &status, WNOHANG, &usage) == pid) break;
    rss.push_back(rssNow);
    cpu.push_back(cpuNow);
  }
  const auto [rows, span] = RowsAndSpan(log);
  std::filesystem::remove(log);
  const double bound = kBaud / 10.0 / kBytesPerReading;
  const double rate = span > 0 ? static_cast<double>(rows - 1) / span : 0;
  std::printf("vyk box live for %d s at %d baud: %ld readings, %.2f a second\n", seconds, kBaud,
              rows, rate);
  std::printf(
      "bound of the wire: %d bytes a reading one after another at %.0f bytes/s = %.2f a "
      "second; reached %.1f %%\n",
      kBytesPerReading, kBaud / 10.0, bound, 100 * rate / bound);
  if (cpu.size() >= 2) {
    const double span5 = 5.0 * static_cast<double>(cpu.size() - 1);
    std::printf("CPU while live: %.2f s in %.0f s = %.2f %% of one core\n",
                cpu.back() - cpu.front(), span5, 100 * (cpu.back() - cpu.front()) / span5);
  }
  if (rss.size() >= 2)
    std::printf("memory (resident): %ld kB after 5 s, %ld kB at the end, peak %ld kB\n",
                rss.front(), rss.back(), usage.ru_maxrss);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}
