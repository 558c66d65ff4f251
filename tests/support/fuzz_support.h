#pragma once
// What the fuzz targets share: stopping on a broken rule, a scratch folder for the files a
// target reads and writes back, a reader over the fuzzer's bytes, and dialogs that answer alone.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "operations/project/dialogs.h"
#include "support/file_bytes.h"

namespace vyk::fuzz {

// A rule the input broke: names it and aborts, so the fuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const std::string& rule) {
  std::fprintf(stderr, "\nBroken rule: %s\n", rule.c_str());
  std::abort();
}

inline void Require(bool holds, const std::string& rule) {
  if (!holds) Fail(rule);
}

// A folder of the process's own, in memory (/dev/shm) where the system has one: every input
// is written and read back, and saves flush to the disk.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code ec;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0)
      base = std::filesystem::temp_directory_path();
    RemoveLeftOvers(base);
    path_ = base / (kPrefix + std::to_string(::getpid()));
    std::filesystem::remove_all(path_, ec);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  static inline const std::string kPrefix = "vyk_fuzz_";

  // A target that crashed kept its folder: those of processes that are gone are removed.
  static void RemoveLeftOvers(const std::filesystem::path& base) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(kPrefix, 0) != 0) continue;
      const long pid = std::strtol(name.c_str() + kPrefix.size(), nullptr, 10);
      if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        std::filesystem::remove_all(entry.path(), ec);
    }
  }

  std::filesystem::path path_;
};

// The target's scratch folder, made at its first use.
inline ScratchFolder& Scratch() {
  static ScratchFolder folder;
  return folder;
}

using test::ReadBytes;
using test::WriteBytes;

// The fuzzer's bytes as a file of the scratch folder, for a reader to read.
struct FuzzedFile {
  const std::string path;
  const std::string bytes;

  FuzzedFile(const std::string& name, const uint8_t* data, size_t size)
      : path(Scratch().File(name)), bytes(reinterpret_cast<const char*>(data), size) {
    WriteBytes(path, bytes);
  }

  // Another file of the scratch folder, for what the program writes back.
  static std::string Beside(const std::string& name) { return Scratch().File(name); }

  // What a record read from the file's first `held` bytes over `before` holds, and so writes
  // back: those bytes, then the rest of `before`.
  template <typename Record>
  std::string ReadOver(const Record& before, size_t held) const {
    return bytes.substr(0, held) +
           std::string(reinterpret_cast<const char*>(before.data()) + held, before.size() - held);
  }
};

// The fuzzer's bytes, taken from the front; past the end every read gives zeros or nothing.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : text_(reinterpret_cast<const char*>(data), size) {}

  bool Empty() const { return text_.empty(); }
  uint8_t Byte() {
    if (text_.empty()) return 0;
    uint8_t b = static_cast<uint8_t>(text_.front());
    text_.remove_prefix(1);
    return b;
  }
  // The bytes up to the next `end` (not included, and taken), or all that is left.
  std::string_view Until(char end) {
    size_t at = text_.find(end);
    std::string_view part = text_.substr(0, at);
    text_.remove_prefix(at == std::string_view::npos ? text_.size() : at + 1);
    return part;
  }
  std::string_view Take(size_t count) {
    std::string_view part = text_.substr(0, count);
    text_.remove_prefix(part.size());
    return part;
  }
  std::string_view Rest() const { return text_; }

 private:
  std::string_view text_;
};

// Answers every question with `answer` and counts what it was shown; file dialogs give
// `fileName` (nothing when it is empty).
class QuietDialogs : public Dialogs {
 public:
  Answer answer = Answer::Yes;
  std::string fileName;
  int errors = 0;
  int warnings = 0;  // told what was done or kept, with an OK button
  int informations = 0;
  int questions = 0;
  std::string lastError;

  void Error(const std::string& text) override {
    ++errors;
    lastError = text;
  }
  void Information(const std::string&) override { ++informations; }
  void WarningOk(const std::string&) override { ++warnings; }
  Answer Question(const std::string&, QuestionButtons) override {
    ++questions;
    return answer;
  }
  Answer Warning(const std::string&, QuestionButtons) override {
    ++questions;
    return answer;
  }
  std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return Name(); }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return Name(); }
  // The Project Setup dialog's answer; nothing: Cancel.
  std::optional<ProjectSetup> setup;
  bool AskProjectSetup(ProjectSetup& shown) override {
    if (!setup) return false;
    shown = *setup;
    return true;
  }

 private:
  std::optional<std::string> Name() const {
    if (fileName.empty()) return std::nullopt;
    return fileName;
  }
};

}  // namespace vyk::fuzz
