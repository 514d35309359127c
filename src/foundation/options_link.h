// options_link.h — what the main window reaches of the options dialog, which is built above it.
//
// The options dialog registers itself at start-up (registerSetupDialog); until then, and in
// tests that register nothing, every call does nothing.
#pragma once

#include "foundation/duty_links.h"

namespace OptionsLink {

class SetupDialog {
public:
    virtual ~SetupDialog() = default;
    // The Setup command (menu item and toolbar button): shows the dialog, not modal, loading it
    // first when it is not loaded; nothing when it is already visible.
    virtual void Show_Setup() {}
    // The time-format handler with a [Locale] TimeFormat index: loads the dialog hidden when it
    // is not loaded, writes the index back and sets the clock's pattern (TimeDisplayFormat).
    virtual void optTimeFormat_Click(int index) {}
};

inline SetupDialog& setupDialog() { return DutyLinks::dutyLink<SetupDialog>(); }
inline void registerSetupDialog(SetupDialog* dialog) { DutyLinks::setDutyLink(dialog); }  // nullptr: none

}  // namespace OptionsLink
