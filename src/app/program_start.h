// program_start.h — puts the program's windows together and runs start-up.
#pragma once

namespace programstart {

// Registers the windows start-up uses, then runs modTLMain::Main.
void Start();
// The program's end after its event loop: gives up what start-up holds (the single-instance lock and socket).
void Finish();

}  // namespace programstart
