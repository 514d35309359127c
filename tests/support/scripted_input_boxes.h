// scripted_input_boxes.h — input boxes that record each question and answer from a script
// ("" once the script runs out, as a cancelled box); installed for the life of the object.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/input_box.h"

namespace testsupport {

class ScriptedInputBoxes final : public platform::InputBoxes {
public:
    struct Asked {
        std::string prompt, title, text;
        bool hidden = false;  // a password question: the typed text is not shown
    };

    ScriptedInputBoxes() { platform::setInputBoxesForTests(this); }
    ~ScriptedInputBoxes() override { platform::setInputBoxesForTests(nullptr); }

    void answer(const std::string& text) { m_answers.push_back(text); }
    const std::vector<Asked>& asked() const { return m_asked; }

    std::string ask(const std::string& prompt, const std::string& title, const std::string& text) override {
        m_asked.push_back({prompt, title, text});
        return next();
    }
    std::string askHidden(const std::string& prompt, const std::string& title) override {
        m_asked.push_back({prompt, title, {}, true});
        return next();
    }

private:
    std::string next() {
        if (m_answers.empty()) return {};
        std::string a = m_answers.front();
        m_answers.pop_front();
        return a;
    }

    std::deque<std::string> m_answers;
    std::vector<Asked> m_asked;
};

}  // namespace testsupport
