#pragma once
// `vyk boxsim` running in the background for a test or a benchmark; the first line it prints
// is the device path of its pseudo-terminal. Stopped when this object goes.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vyk::test {

class BoxSimProcess {
 public:
  // What it says on stderr goes to `errPath` (appended) when one is given.
  BoxSimProcess(const std::string& vykPath, std::vector<std::string> args,
                const std::string& errPath = "") {
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      if (!errPath.empty()) {
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (err >= 0) ::dup2(err, 2);
      }
      ::close(out[0]);
      ::close(out[1]);
      std::vector<char*> argv{const_cast<char*>(vykPath.c_str()), const_cast<char*>("boxsim")};
      for (auto& a : args)
        argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(vykPath.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
      path_ += c;
    ::close(out[0]);
  }
  ~BoxSimProcess() {
    ::kill(pid_, SIGTERM);
    int status;
    ::waitpid(pid_, &status, 0);
  }
  BoxSimProcess(const BoxSimProcess&) = delete;
  BoxSimProcess& operator=(const BoxSimProcess&) = delete;

  const std::string& Path() const { return path_; }

 private:
  pid_t pid_ = -1;
  std::string path_;
};

}  // namespace vyk::test
