// program_start.h — puts the program's windows together and runs start-up.
#pragma once

namespace programstart {

// Registers the windows start-up uses, then runs modTLMain::Main.
void Start();
// The program's end: unloads the main window when it is still loaded (its saves and the "Program
// Ended" line; without it, the saves alone), then gives up what start-up holds (the
// single-instance lock and socket).
void Finish();

}  // namespace programstart
