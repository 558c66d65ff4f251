#pragma once
// What every command does with the files it names: it never writes its output over one of
// its inputs, and it says so when it has to wait for another command's lock on a file.
#include <functional>
#include <initializer_list>
#include <string>

namespace vyk::cli {

// Refuses, as a usage error, an output that is one of the inputs: the same path, another
// path to it, or a hard or symbolic link. `--force` allows replacing a file, never this.
void RefuseOutputOverInput(const std::string& output, std::initializer_list<std::string> inputs);

// What a file lock calls once when it has to wait: a line on stderr saying for what.
std::function<void()> WaitNotice(const std::string& path);

}  // namespace vyk::cli
