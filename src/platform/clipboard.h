// clipboard.h — the system clipboard's text, through one replaceable service.
#pragma once

#include <string>

namespace platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;             // "" when the clipboard holds no text
    virtual void setText(const std::string& text) = 0;  // replaces what the clipboard held
    virtual void clear() = 0;
};

Clipboard& clipboard();
void setClipboardForTests(Clipboard* c);  // nullptr puts the system's back

}  // namespace platform
