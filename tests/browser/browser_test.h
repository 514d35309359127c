// browser_test.h — the fixture of the browser window's tests: a throw-away data folder, no
// browser window left from the test before, and waits for pages and scripts. Waits are event waits
// with generous limits: the web engine starts slowly.
#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>
#include <string>

#include "browser/automation_browser.h"
#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "platform/timers.h"
#include "temp_data_folder.h"

namespace browsertest {

inline constexpr qint64 kWaitMs = 60000;

class BrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        modTLMain::ResetStartupForTests();
        modTLC::ResetForTests();
        modTLMain::DataFolder = data.dataFolder();
        UserState::ResetForTests();
        modTLMain::ResetBrowserForTests();
    }
    void TearDown() override {
        modTLMain::ResetBrowserForTests();
        UserState::ResetForTests();
        modTLC::ResetForTests();
        modTLMain::ResetStartupForTests();
    }

    // Waits until no tab of the browser is loading.
    static bool waitLoaded(AutomationBrowser* b) {
        QPointer<AutomationBrowser> p = b;
        return platform::timers().waitUntil([p] { return p && !p->Busy(); }, kWaitMs);
    }

    // Loads html into the view as if it came from url; true once the page's load completed.
    static bool load(AutomationBrowser* b, QWebEngineView* v, const QString& html, const QString& url) {
        auto done = std::make_shared<bool>(false);
        auto c = QObject::connect(b, &AutomationBrowser::DocumentComplete, [done, v](QWebEngineView* d, const QString&) {
            if (d == v) *done = true;
        });
        v->setHtml(html, QUrl(url));
        const bool ok = platform::timers().waitUntil([done] { return *done; }, kWaitMs);
        QObject::disconnect(c);
        return ok;
    }

    // Runs a script in the page and gives its result as text. In the application's world it runs
    // beside the page's own scripts, also where those are off.
    static std::string js(QWebEngineView* v, const QString& script, quint32 world = QWebEngineScript::MainWorld) {
        auto r = std::make_shared<std::pair<bool, QString>>(false, QString());
        v->page()->runJavaScript(script, world, [r](const QVariant& x) {
            r->first = true;
            r->second = x.isValid() ? x.toString() : QStringLiteral("<none>");
            platform::timers().wake();
        });
        platform::timers().waitUntil([r] { return r->first; }, kWaitMs);
        return r->second.toStdString();
    }

    testsupport::TempDataFolder data;
};

}  // namespace browsertest
