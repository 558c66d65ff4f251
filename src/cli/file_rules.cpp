#include "cli/file_rules.h"

#include <filesystem>
#include <iostream>

#include "cli/commands.h"
#include "storage/path_text.h"

namespace vyk::cli {

void RefuseOutputOverInput(const std::string& output, std::initializer_list<std::string> inputs) {
  for (const std::string& input : inputs) {
    // Device and inode where both exist; an output not yet there cannot be an input.
    std::error_code ec;
    if (std::filesystem::equivalent(PathOf(output), PathOf(input), ec) && !ec)
      throw UsageError(output + " is the same file as " + input +
                       ", which this command reads: name another file for its output");
  }
}

std::function<void()> WaitNotice(const std::string& path) {
  return [path] {
    std::cerr << "Waiting for another vyk command to finish with " << path << " ..." << std::endl;
  };
}

}  // namespace vyk::cli
