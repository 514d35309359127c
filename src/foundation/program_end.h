// program_end.h — what must reach the disk however the program ends: the window's unload, a stop
// asked by the system (SIGTERM, SIGINT, SIGHUP) and the desktop session's end all run the same
// saves, registered by their owners (the item list registers its save once it is loaded).
#pragma once

#include <functional>
#include <string>

namespace modTLMain {

// `save` runs at every end from now on; a second registration under the same name replaces it.
void On_Program_End(const std::string& name, std::function<void()> save);
void Forget_Program_End(const std::string& name);
// Runs every registered save once, in the order of registration; a save that throws is logged and
// the others still run.
void Run_Program_End_Saves();

}  // namespace modTLMain
