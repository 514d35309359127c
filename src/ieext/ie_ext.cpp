#include "ieext/ie_ext.h"

#include "ieext/hand_over.h"
#include "platform/clipboard.h"
#include "platform/file_names.h"

namespace ieext {
namespace {

ProgramPresence* g_testLauncher = nullptr;

// The text a value adds to the hand-over; nullopt when it has none (an object without a text).
std::optional<std::string> textOf(const PageValue& v) {
    if (std::holds_alternative<std::monostate>(v)) return std::string();
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    const PageObject& o = std::get<PageObject>(v);
    if (!o.text) return std::nullopt;
    return o.text();
}

}  // namespace

ProgramPresence& realProgramPresence();

ProgramPresence& programPresence() { return g_testLauncher ? *g_testLauncher : realProgramPresence(); }
void setProgramPresenceForTests(ProgramPresence* launcher) { g_testLauncher = launcher; }

std::optional<PageProperty> Property_Named(std::string_view name) {
    if (name == "PageURL") return PageProperty::PageURL;
    if (name == "PageTitle") return PageProperty::PageTitle;
    if (name == "PageHTML") return PageProperty::PageHTML;
    if (name == "PageText") return PageProperty::PageText;
    return std::nullopt;
}

PageValue& IEExt::slot(PageProperty p) {
    switch (p) {
    case PageProperty::PageURL: return m_url;
    case PageProperty::PageTitle: return m_title;
    case PageProperty::PageHTML: return m_html;
    case PageProperty::PageText: break;
    }
    return m_text;
}

void IEExt::AddItem() { handOver(kAddItemPrefix); }
void IEExt::AddGRP() { handOver(kAddGroupPrefix); }
void IEExt::Feedback() { handOver(kFeedbackPrefix); }

// No step's failure reaches the caller: each failing step is passed over and the next one runs.
void IEExt::handOver(const char* prefix) {
    PageHandOver page;
    page.prefix = prefix;
    try {
        page.tag = EnsureProgramRunning(kProgramCaption, platform::kProgramFile);
    } catch (...) {
        page.tag = kTagNotStarted;
    }
    try {
        platform::clipboard().clear();
    } catch (...) {
    }
    try {
        const auto url = textOf(m_url), title = textOf(m_title), html = textOf(m_html), text = textOf(m_text);
        if (!url || !title || !html || !text) return;
        page.url = *url;
        page.title = *title;
        page.html = *html;
        page.text = *text;
        platform::clipboard().setText(Build_Page_Hand_Over(page));
    } catch (...) {
    }
}

// The program is found through its single-instance socket, whatever its window is called; the
// caption stays for the callers that name the program by it.
std::string IEExt::EnsureProgramRunning(const std::string& /*caption*/, const std::string& programFile) {
    ProgramPresence& launcher = programPresence();
    if (launcher.programRunning()) return kTagNotStarted;
    if (!launcher.startProgram(programFile)) return kTagNotStarted;
    launcher.waitMs(kStartWaitMs);
    return kTagStarted;
}

}  // namespace ieext
