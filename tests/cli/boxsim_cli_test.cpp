// vyk boxsim as scripts use it: read the device path from the first line, talk to the Box
// there, stop it with SIGTERM.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli_test_util.h"
#include "support/file_bytes.h"

namespace vyk::test {
namespace {

constexpr int kPatienceMs = 5000;

// Reads one byte at a time until `terminator`, end of file or patience runs out.
std::string ReadUntil(int fd, char terminator) {
  std::string got;
  char c;
  pollfd p{fd, POLLIN, 0};
  while (poll(&p, 1, kPatienceMs) > 0 && read(fd, &c, 1) == 1) {
    got += c;
    if (c == terminator) break;
  }
  return got;
}

// `vyk boxsim` running, its stdout on a pipe; killed at the end if still there.
struct Boxsim {
  explicit Boxsim(std::vector<std::string> args) {
    args.insert(args.begin(), {VYK_CLI_PATH, "boxsim"});
    int fds[2];
    if (pipe(fds) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(fds[1], STDOUT_FILENO);
      close(fds[0]);
      std::vector<char*> argv;
      for (auto& a : args)
        argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(fds[1]);
    out = fds[0];
  }
  ~Boxsim() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    if (out >= 0) close(out);
  }
  pid_t pid = -1;
  int out = -1;
};

TEST(BoxsimCli, ServesTheProjectsEepromUntilTerminated) {
  TempFolder tmp;
  std::string project(768, '\0');
  project[512] = '\x5A';  // EEPROM byte 0 follows the 512-byte header
  WriteBytes(tmp / "p.vyk", project);
  std::string eeprom = tmp / "p.vyk";

  Boxsim box({"--group", "import", "--baud", "0", "--eeprom", tmp / "p.vyk"});
  std::string path = ReadUntil(box.out, '\n');
  ASSERT_FALSE(path.empty());
  path.pop_back();

  int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0) << path;
  termios mode{};
  tcgetattr(fd, &mode);
  cfmakeraw(&mode);
  tcsetattr(fd, TCSANOW, &mode);
  ASSERT_EQ(write(fd, "C00*\rQ\r", 7), 7);
  EXPECT_EQ(ReadUntil(fd, '>'), "C00*\r\r\n5A+\r\n>");
  EXPECT_EQ(ReadUntil(fd, '>'), "Q\r\r\nI1.0 Box\r\n>");
  close(fd);

  kill(box.pid, SIGTERM);
  // Its stdout reaches end of file when it ends.
  pollfd p{box.out, POLLIN, 0};
  char c;
  ASSERT_TRUE(poll(&p, 1, kPatienceMs) > 0 && read(box.out, &c, 1) == 0);
  int status = 0;
  waitpid(box.pid, &status, 0);
  box.pid = -1;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace vyk::test
