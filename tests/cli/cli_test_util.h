#pragma once
// Runs the `vyk` program and captures what it prints.
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vyk::test {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg)
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder per test, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("vyk-cli-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline RunResult RunVyk(const std::vector<std::string>& args, const TempFolder& folder) {
  std::string command = Quote(VYK_CLI_PATH);
  for (const auto& a : args)
    command += " " + Quote(a);
  std::string outFile = folder / ".stdout";
  std::string errFile = folder / ".stderr";
  command += " >" + Quote(outFile) + " 2>" + Quote(errFile) + " </dev/null";
  RunResult result;
  int raw = std::system(command.c_str());
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadAll(outFile);
  result.err = ReadAll(errFile);
  return result;
}

}  // namespace vyk::test
