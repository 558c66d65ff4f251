// `vyk box history` on a long history.tsv (400,000 lines, about 31 MB): wall time and peak
// memory of the whole listing, as text and as JSON, and of the newest 20 lines.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/records/box_history.h"

namespace {

// Runs vyk with `args`, its output thrown away; the seconds it took and its peak memory in MB.
std::pair<double, double> Run(std::vector<std::string> args) {
  std::fflush(stdout);  // else the child's stdout would write it once more
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> argv = {const_cast<char*>(VYK_CLI_PATH)};
    for (std::string& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(VYK_CLI_PATH, argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "vyk failed\n");
  return {seconds, usage.ru_maxrss / 1024.0};
}

}  // namespace

int main() {
  const std::filesystem::path data =
      std::filesystem::temp_directory_path() / ("vyk-bench-history-" + std::to_string(::getpid()));
  std::filesystem::create_directories(data);
  {
    std::FILE* file = std::fopen(vyk::HistoryPath(data.string()).c_str(), "wb");
    // Lines of the length the history of a user's Box has: 31 MB in all.
    const std::string line =
        "2026-12-08T08:30:05+0100\tupdate\t/dev/ttyUSB0\tG\t1.0\t/home/user/car.VYK\t03C95E1E\tok"
        "\t\t\t\n";
    for (int n = 0; n < 400000; ++n)
      std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
  std::printf("history.tsv: %.1f MB, 400000 lines\n",
              std::filesystem::file_size(vyk::HistoryPath(data.string())) / 1e6);
  const std::string folder = data.string();
  const struct {
    const char* name;
    std::vector<std::string> args;
  } runs[] = {
      {"all, text", {"box", "history", "--data", folder}},
      {"all, JSON", {"box", "history", "--data", folder, "--json"}},
      {"--last 20", {"box", "history", "--data", folder, "--last", "20"}},
  };
  for (const auto& r : runs) {
    const auto [seconds, megabytes] = Run(r.args);
    std::printf("%-10s %6.2f s  %6.1f MB peak\n", r.name, seconds, megabytes);
  }
  std::filesystem::remove_all(data);
  return 0;
}
