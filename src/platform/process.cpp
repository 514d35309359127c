#include "platform/process.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>

namespace platform {
namespace {
std::function<void(int)>& hook() {
    static std::function<void(int)> h;
    return h;
}
std::map<std::string, std::function<void()>>& cleanups() {
    static std::map<std::string, std::function<void()>> c;
    return c;
}
}  // namespace

void atProcessExit(const char* key, std::function<void()> cleanup) { cleanups()[key] = std::move(cleanup); }

void exitProcess(int code) {
    if (hook()) hook()(code);
    auto pending = std::move(cleanups());
    cleanups().clear();
    for (auto& [key, cleanup] : pending)
        if (cleanup) cleanup();
    std::fflush(nullptr);
    ::_exit(code);
}

void setExitHookForTests(std::function<void(int)> h) { hook() = std::move(h); }

}  // namespace platform
