// clipboard.h — the system clipboard's text, through one replaceable service.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;             // "" when the clipboard holds no text
    virtual void setText(const std::string& text) = 0;  // replaces what the clipboard held
    virtual void clear() = 0;

    // Runs `changed` on the UI thread after each change of the clipboard's content, until the
    // returned id is given back to unwatchChanges.
    int watchChanges(std::function<void()> changed);
    void unwatchChanges(int id);

protected:
    // The clipboard's content changed: tells the watchers.
    void notifyChanged();
    // The first watcher came: start listening to the system (nothing by default).
    virtual void beginWatching() {}

private:
    std::map<int, std::function<void()>> m_watchers;
    int m_lastWatch = 0;
    bool m_watching = false;
};

Clipboard& clipboard();
void setClipboardForTests(Clipboard* c);  // nullptr puts the system's back

}  // namespace platform
