// process.h — ending the process.
#pragma once

#include <functional>

namespace platform {

// Ends the process at once with the code; nothing more runs (also inside a nested wait).
[[noreturn]] void exitProcess(int code);

// Runs `cleanup` when the process ends through exitProcess, once (what the program made for
// itself goes with it). Registering the same key again replaces the earlier cleanup.
void atProcessExit(const char* key, std::function<void()> cleanup);

// Tests replace the exit: the hook must not return (it throws to the test).
void setExitHookForTests(std::function<void(int)> hook);

}  // namespace platform
