// message_box.h — system message boxes (style bits and answers as the program has always used them).
//
// Style = buttons + icon + default button + modality:
//   buttons 0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel;
//   icon 16 critical stop, 32 question, 48 exclamation, 64 information;
//   default button 0 first, 256 second, 512 third; 4096 system-modal.
// Answers: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.
#pragma once

#include <string>

namespace platform {

enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };
enum MsgBoxStyle {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512, vbSystemModal = 4096,
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and waits (yielding) for the answer.
    virtual int show(const std::string& text, int style, const std::string& title) = 0;
};

MessageBoxes& messageBoxes();
void setMessageBoxesForTests(MessageBoxes* m);

// The program's title on its boxes.
inline constexpr const char* kProgramTitle = "Tolvane Rerode II";

// MsgBox(text, style, title): the program's call; title defaults to the program's.
int MsgBox(const std::string& text, int style = vbOKOnly, const std::string& title = kProgramTitle);

}  // namespace platform
