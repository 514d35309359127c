// fake_clipboard.h — a clipboard that tests read and fill; installed for the life of the object.
#pragma once

#include <string>

#include "platform/clipboard.h"

namespace testsupport {

class FakeClipboard final : public platform::Clipboard {
public:
    FakeClipboard() { platform::setClipboardForTests(this); }
    ~FakeClipboard() override { platform::setClipboardForTests(nullptr); }

    std::string text() const override { return m_text; }
    void setText(const std::string& text) override {
        m_text = text;
        ++m_writes;
        notifyChanged();
    }
    void clear() override {
        m_text.clear();
        notifyChanged();
    }
    // The user copies text elsewhere: the clipboard changes and its watchers hear of it.
    void userCopies(const std::string& text) {
        m_text = text;
        notifyChanged();
    }
    int writes() const { return m_writes; }  // how often the program put text there

private:
    std::string m_text;
    int m_writes = 0;
};

}  // namespace testsupport
