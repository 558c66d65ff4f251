#pragma once
// `vyk` in the background, its output in files, for a test that signals it meanwhile.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace vyk::test {

class VykProcess {
 public:
  VykProcess(std::vector<std::string> args, const std::string& out, const std::string& err) {
    if ((pid_ = ::fork()) != 0) return;
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<char*> argv{const_cast<char*>(VYK_CLI_PATH)};
    for (auto& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(VYK_CLI_PATH, argv.data());
    ::_exit(127);
  }
  void Signal(int signal) { ::kill(pid_, signal); }
  // Its exit status, or minus the signal that ended it.
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace vyk::test
