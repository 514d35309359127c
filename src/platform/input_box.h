// input_box.h — a one-line question: a prompt, a title and a text to start from.
//
// Tests replace the box with one that answers from a script (tests/support/scripted_input_boxes.h).
#pragma once

#include <string>

namespace platform {

class InputBoxes {
public:
    virtual ~InputBoxes() = default;
    // Shows the box and waits for the answer: the typed text, "" when it was cancelled.
    virtual std::string ask(const std::string& prompt, const std::string& title, const std::string& text) = 0;
    // The same question for a password: the typed characters are not shown.
    virtual std::string askHidden(const std::string& prompt, const std::string& title) = 0;
};

InputBoxes& inputBoxes();
void setInputBoxesForTests(InputBoxes* boxes);  // nullptr puts the real one back

// InputBox(prompt, title, default): the program's call.
std::string InputBox(const std::string& prompt, const std::string& title, const std::string& text = {});
// A password question: an empty start, and what is typed is not shown.
std::string PasswordBox(const std::string& prompt, const std::string& title);

}  // namespace platform
