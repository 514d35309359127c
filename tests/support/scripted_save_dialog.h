// scripted_save_dialog.h — a save-file dialog that answers from a script and records what it was
// asked; installed for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "platform/save_dialog.h"

namespace testsupport {

class ScriptedSaveDialog final : public platform::SaveDialog {
public:
    struct Asked { std::string title, filter, proposedName; };

    ScriptedSaveDialog() { platform::setSaveDialogForTests(this); }
    ~ScriptedSaveDialog() override { platform::setSaveDialogForTests(nullptr); }

    platform::SaveAnswer chooseFileToSave(const std::string& title, const std::string& filter,
                                          const std::string& proposedName) override {
        asked.push_back({title, filter, proposedName});
        if (choice.empty()) return {{}, platform::kCancelSelected};
        return {choice, {}};
    }

    std::string choice;  // the file the user confirms ("" = cancelled)
    std::vector<Asked> asked;
};

}  // namespace testsupport
