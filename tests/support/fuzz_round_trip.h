#pragma once
// A file reader's round trip under the fuzzer: its bytes as a file in the target's scratch
// folder, and what a record read from them over another holds, so written back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/fuzz_support.h"

namespace vyk::fuzz {

struct FuzzedFile {
  const std::string path;
  const std::string bytes;

  FuzzedFile(const std::string& name, const uint8_t* data, size_t size)
      : path(Scratch().File(name)), bytes(reinterpret_cast<const char*>(data), size) {
    WriteBytes(path, bytes);
  }

  // Another file of the scratch folder.
  static std::string Beside(const std::string& name) { return Scratch().File(name); }

  // A record read from the file's first `held` bytes over one that held `before`: those bytes,
  // then the rest of `before`.
  template <typename Record>
  std::string ReadOver(const Record& before, size_t held) const {
    return bytes.substr(0, held) +
           std::string(reinterpret_cast<const char*>(before.data()) + held, before.size() - held);
  }
};

}  // namespace vyk::fuzz
