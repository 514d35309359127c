// fake_desktop_files.h — a desktop that records the files handed to it and answers the
// open-file dialog from a script; installed for the life of the object.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/desktop_files.h"

namespace testsupport {

class FakeDesktopFiles final : public platform::DesktopFiles {
public:
    struct Asked { std::string folder, filter, title; };

    FakeDesktopFiles() { platform::setDesktopFilesForTests(this); }
    ~FakeDesktopFiles() override { platform::setDesktopFilesForTests(nullptr); }

    void openFile(const std::string& path, std::function<void()> failed) override {
        opened.push_back(path);
        if (cannotOpen && failed) failed();
    }
    std::string chooseFileToOpen(const std::string& folder, const std::string& filter,
                                 const std::string& title) override {
        asked.push_back({folder, filter, title});
        return choice;
    }

    std::string choice;       // what the open-file dialog answers ("" = cancelled)
    bool cannotOpen = false;  // the desktop has no application for the files handed to it
    std::vector<std::string> opened;
    std::vector<Asked> asked;
};

}  // namespace testsupport
