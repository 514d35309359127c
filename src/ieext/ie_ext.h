// ie_ext.h — IEExt, the object a browser page creates to hand itself to the program: four page
// properties (each empty, a text or an object) and three methods that make sure the program runs
// and put the page on the clipboard as one hand-over text.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>

namespace ieext {

// An object a caller put into a property with Set. Its text (the object's default value) is what
// a hand-over carries; an object without one makes the hand-over fail, which the caller never sees.
struct PageObject {
    void* reference = nullptr;
    std::function<std::optional<std::string>()> text;
};

using PageValue = std::variant<std::monostate, std::string, PageObject>;

enum class PageProperty { PageURL, PageTitle, PageHTML, PageText };
// The property of a name, as late-bound callers spell it ("PageURL"...); nullopt for none.
std::optional<PageProperty> Property_Named(std::string_view name);

// How the object finds, starts and waits for the program (real: program_presence.cpp).
class ProgramPresence {
public:
    virtual ~ProgramPresence() = default;
    // The program answers on its single-instance socket (nothing is sent to it).
    virtual bool programRunning() = 0;
    // Starts the program file beside the extension, detached; false when there is none.
    virtual bool startProgram(const std::string& programFile) = 0;
    // Waits, letting the caller's events run meanwhile.
    virtual void waitMs(int ms) = 0;
};
ProgramPresence& programPresence();
void setProgramPresenceForTests(ProgramPresence* launcher);  // nullptr puts the real one back

inline constexpr const char* kProgramCaption = "Tolvane Rerode II";
inline constexpr int kStartWaitMs = 2000;  // for the started program to watch the clipboard

class IEExt {
public:
    void Let(PageProperty p, std::string value) { slot(p) = std::move(value); }
    void Set(PageProperty p, PageObject object) { slot(p) = std::move(object); }
    // The stored object when it is one, else a copy of the stored value.
    const PageValue& Get(PageProperty p) const { return const_cast<IEExt*>(this)->slot(p); }

    void AddItem();
    void AddGRP();
    void Feedback();

private:
    PageValue& slot(PageProperty p);
    void handOver(const char* prefix);
    // "-N" when the program runs already (or cannot be started), "-M" when it was started now.
    std::string EnsureProgramRunning(const std::string& caption, const std::string& programFile);

    PageValue m_url, m_title, m_html, m_text;
};

}  // namespace ieext
