// scripted_boxes.h — message boxes that record what the program asked and answer from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace testsupport {

class ScriptedMessageBoxes final : public platform::MessageBoxes {
public:
    struct Shown { std::string text; int style; std::string title; };

    ScriptedMessageBoxes() { platform::setMessageBoxesForTests(this); }
    ~ScriptedMessageBoxes() override { platform::setMessageBoxesForTests(nullptr); }

    // Answers, in order; when the script runs out the first button is pressed.
    void answer(int result) { m_answers.push_back(result); }
    const std::vector<Shown>& shown() const { return m_shown; }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& s : m_shown) t.push_back(s.text);
        return t;
    }
    void clear() { m_shown.clear(); }
    // Runs while a box is up (the program's timers go on meanwhile), with the box's text.
    std::function<void(const std::string&)> whileShown;

    int show(const std::string& text, int style, const std::string& title) override {
        m_shown.push_back({text, style, title});
        if (whileShown) whileShown(text);
        if (!m_answers.empty()) {
            const int r = m_answers.front();
            m_answers.pop_front();
            return r;
        }
        switch (style & 0x0F) {
            case platform::vbOKCancel: return platform::vbOK;
            case platform::vbAbortRetryIgnore: return platform::vbAbort;
            case platform::vbYesNoCancel:
            case platform::vbYesNo: return platform::vbYes;
            case platform::vbRetryCancel: return platform::vbRetry;
            default: return platform::vbOK;
        }
    }

private:
    std::deque<int> m_answers;
    std::vector<Shown> m_shown;
};

}  // namespace testsupport
