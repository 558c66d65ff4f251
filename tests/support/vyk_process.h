#pragma once
// `vyk` running in the background, for a test that signals it or changes its files meanwhile.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace vyk::test {

class VykProcess {
 public:
  // What it prints goes to `outPath` and `errPath`.
  VykProcess(const std::string& vykPath, std::vector<std::string> args, const std::string& outPath,
             const std::string& errPath) {
    pid_ = ::fork();
    if (pid_ != 0) return;
    ::dup2(::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    ::dup2(::open("/dev/null", O_RDONLY), 0);
    std::vector<char*> argv{const_cast<char*>(vykPath.c_str())};
    for (auto& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(vykPath.c_str(), argv.data());
    ::_exit(127);
  }
  ~VykProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }
  VykProcess(const VykProcess&) = delete;
  VykProcess& operator=(const VykProcess&) = delete;

  void Signal(int signal) { ::kill(pid_, signal); }
  // Its exit status, or minus the signal that ended it.
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace vyk::test
