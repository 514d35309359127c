#include "foundation/program_end.h"

#include <exception>
#include <utility>
#include <vector>

#include "foundation/logs.h"

namespace modTLMain {
namespace {

std::vector<std::pair<std::string, std::function<void()>>>& saves() {
    static auto* s = new std::vector<std::pair<std::string, std::function<void()>>>();
    return *s;
}

}  // namespace

void On_Program_End(const std::string& name, std::function<void()> save) {
    for (auto& [n, s] : saves())
        if (n == name) {
            s = std::move(save);
            return;
        }
    saves().emplace_back(name, std::move(save));
}

void Forget_Program_End(const std::string& name) {
    auto& s = saves();
    for (auto it = s.begin(); it != s.end(); ++it)
        if (it->first == name) {
            s.erase(it);
            return;
        }
}

void Run_Program_End_Saves() {
    const auto now = saves();  // a save may register or forget others
    for (const auto& [name, save] : now) {
        try {
            if (save) save();
        } catch (const std::exception& e) {
            Log_Error(5, e.what(), "Program End - " + name);
        }
    }
}

}  // namespace modTLMain
