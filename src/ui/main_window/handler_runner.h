#pragma once
// The main window's parts run each handler through the window, which shows an error the core
// raises and closes the window once an exchange that an Exit waited for has ended.
#include <functional>

namespace vyk::ui {

using HandlerRunner = std::function<void(const std::function<void()>& handler)>;

}  // namespace vyk::ui
