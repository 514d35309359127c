// program_start.h — puts the program's windows together and runs start-up.
#pragma once

namespace programstart {

// Registers the windows start-up uses, then runs modTLMain::Main.
void Start();

}  // namespace programstart
