// recording_browser_openers.h — browser roads that record every page handed to them and start
// nothing; installed for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "mainwindow/browser_views.h"

namespace testsupport {

class RecordingBrowserOpeners final : public TLMainBrowser::BrowserOpeners {
public:
    struct Started { std::string program; std::vector<std::string> arguments; };

    RecordingBrowserOpeners() { TLMainBrowser::setOpenersForTests(this); }
    ~RecordingBrowserOpeners() override { TLMainBrowser::setOpenersForTests(nullptr); }

    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        started.push_back({program, arguments});
        return startSucceeds;
    }
    void navigate(const std::string& url) override { navigated.push_back(url); }
    void navigateNewWindow(const std::string& url) override { newWindows.push_back(url); }
    void navigateAccountPage(const std::string& url) override { accountPages.push_back(url); }

    bool startSucceeds = true;
    std::vector<Started> started;          // the alternate browser's starts
    std::vector<std::string> navigated;    // pages for the program's browser window
    std::vector<std::string> newWindows;   // pages for a new window of it
    std::vector<std::string> accountPages; // pages for a new window that signs in by itself
};

}  // namespace testsupport
