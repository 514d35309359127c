// input_journal.h — the desktop's keyboard and mouse as the connect macro records and replays
// them: every input event of the desktop while recording, and synthesised keys, moves and clicks.
//
// Events carry the macro file's numbers: window-message numbers (256 key down, 257 key up, 260/261
// the same while Alt is held, 512 mouse move, 513/514 left, 516/517 right, 519/520 middle button,
// 522 wheel) and Windows virtual-key numbers; positions in screen pixels. The real one is the X11
// record and test extensions; without X11 it is unavailable. Tests install a scripted fake.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

struct JournalEvent {
    int32_t message = 0;
    int32_t paramL = 0;  // keys: virtual key; mouse: x
    int32_t paramH = 0;  // mouse: y
    int32_t time = 0;    // the event's time in milliseconds (any origin)
    int32_t hwnd = 0;
};

class InputJournal {
public:
    virtual ~InputJournal() = default;
    // Recording and replaying can work on this desktop.
    virtual bool available() = 0;
    // Starts delivering every input event to `onEvent` (on the UI thread); false when it cannot.
    virtual bool startRecording(std::function<void(const JournalEvent&)> onEvent) = 0;
    virtual void stopRecording() = 0;
    // Primary screen size in pixels.
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;
    // Synthesised input. Moves take absolute units, 0 to 65535 across the screen.
    virtual void key(int virtualKey, bool down) = 0;
    virtual void moveAbsolute(int x, int y) = 0;
    virtual void button(int which, bool down) = 0;  // 1 left, 2 right, 3 middle
    // The Esc key is held now.
    virtual bool escapeDown() = 0;
};

InputJournal& inputJournal();
void setInputJournalForTests(InputJournal* journal);  // nullptr: the real one

// Virtual-key number of an X key symbol, and back (0 when it has none).
int Virtual_Key_Of_Keysym(unsigned long keysym);
unsigned long Keysym_Of_Virtual_Key(int virtualKey);

}  // namespace platform
