// save_dialog.h — the save-file dialog: a title, a filter, a proposed name; asks before an
// existing file is replaced.
#pragma once

#include <string>

namespace platform {

struct SaveAnswer {
    std::string path;   // the chosen file; "" when cancelled or failed
    std::string error;  // why there is no path ("Cancel was selected." when the user cancelled)
};

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // `filter` as description and pattern pairs split by "|" ("Text File (*.txt)|*.txt"). No
    // extension is added: the file is the name the user confirms.
    virtual SaveAnswer chooseFileToSave(const std::string& title, const std::string& filter,
                                        const std::string& proposedName) = 0;
};

inline constexpr const char* kCancelSelected = "Cancel was selected.";

SaveDialog& saveDialog();
void setSaveDialogForTests(SaveDialog* d);  // nullptr puts the system's back

}  // namespace platform
