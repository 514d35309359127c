// IEExt: the properties as set (text, empty or object), and what each method puts on the
// clipboard, with the program found running, started, or not to be found.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QClipboard>
#include <QTemporaryDir>

#include "fake_clipboard.h"
#include "ieext/hand_over.h"
#include "ieext/ie_ext.h"
#include "ieext/ie_ext_loader.h"
#include "ieext/ie_front.h"
#include "platform/file_names.h"
#include "platform/file_version.h"
#include "temp_data_folder.h"

using namespace ieext;

namespace {

class FakePresence final : public ProgramPresence {
public:
    FakePresence() { setProgramPresenceForTests(this); }
    ~FakePresence() override { setProgramPresenceForTests(nullptr); }
    bool programRunning() override { return running; }
    bool startProgram(const std::string& file) override {
        started.push_back(file);
        return startWorks;
    }
    void waitMs(int ms) override { waited += ms; }

    bool running = false;
    bool startWorks = false;
    std::vector<std::string> started;
    int waited = 0;
};

TEST(IEExt, EachMethodPutsThePageOnTheClipboardWithItsPrefixAndTag) {
    struct Case {
        const char* what;
        void (IEExt::*method)();
        bool running, startWorks;
        const char* expectedStart;  // the text up to "<IEURL>"
        bool starts;                // the program was started and waited for
    };
    const Case cases[] = {
        {"running: add item", &IEExt::AddItem, true, false, "TLAUCDOC-N", false},
        {"running: bid group", &IEExt::AddGRP, true, false, "TLADDGRP-N", false},
        {"running: feedback", &IEExt::Feedback, true, false, "TLFEEDBACK-N", false},
        {"started now", &IEExt::AddItem, false, true, "TLAUCDOC-M", true},
        {"cannot be started", &IEExt::Feedback, false, false, "TLFEEDBACK-N", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::FakeClipboard board;
        board.userCopies("something else");
        FakePresence launcher;
        launcher.running = c.running;
        launcher.startWorks = c.startWorks;
        IEExt e;
        e.Let(PageProperty::PageURL, "http://www.ebay.com/itm/123456789012");
        e.Let(PageProperty::PageTitle, "Blue teapot");
        e.Let(PageProperty::PageHTML, "<body><b>Blue</b></body>");
        e.Let(PageProperty::PageText, "Blue\r\nItem number: 123456789012");
        (e.*c.method)();
        EXPECT_EQ(board.text(), std::string(c.expectedStart) +
                                    "<IEURL>http://www.ebay.com/itm/123456789012</IEURL><IETitle>Blue teapot</IETitle>"
                                    "<IEHTML><body><b>Blue</b></body></IEHTML><IEText>Blue\r\nItem number: "
                                    "123456789012</IEText>");
        EXPECT_EQ(launcher.started, c.running ? std::vector<std::string>{}
                                              : std::vector<std::string>{platform::kProgramFile});
        EXPECT_EQ(launcher.waited, c.starts ? kStartWaitMs : 0);
    }
}

TEST(IEExt, UnsetPropertiesAddNothingBetweenTheirTags) {
    testsupport::FakeClipboard board;
    FakePresence launcher;
    launcher.running = true;
    IEExt e;
    e.Let(PageProperty::PageURL, "http://www.ebay.com/itm/1");
    e.Let(PageProperty::PageTitle, "");
    e.AddItem();
    EXPECT_EQ(board.text(), "TLAUCDOC-N<IEURL>http://www.ebay.com/itm/1</IEURL><IETitle></IETitle><IEHTML></IEHTML>"
                            "<IEText></IEText>");
}

TEST(IEExt, AnObjectSetIsTheSameObjectOnGetAndGivesItsTextToTheHandOver) {
    testsupport::FakeClipboard board;
    FakePresence launcher;
    launcher.running = true;
    int document = 0;
    IEExt e;
    e.Set(PageProperty::PageHTML, PageObject{&document, [] { return std::optional<std::string>("<body/>"); }});
    const auto* o = std::get_if<PageObject>(&e.Get(PageProperty::PageHTML));
    ASSERT_TRUE(o);
    EXPECT_EQ(o->reference, &document);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(e.Get(PageProperty::PageText)));
    e.Let(PageProperty::PageText, "x");
    EXPECT_EQ(std::get<std::string>(e.Get(PageProperty::PageText)), "x");
    e.Feedback();
    EXPECT_EQ(Parse_Page_Hand_Over(board.text())->html, "<body/>");

    // An object without a text of its own: the clipboard is emptied and nothing reaches the caller.
    e.Set(PageProperty::PageText, PageObject{&document, {}});
    board.userCopies("old");
    EXPECT_NO_THROW(e.AddItem());
    EXPECT_EQ(board.text(), "");
}

// The built library, loaded by its file name as the browser's entries and the front load it. Its
// copy lies in a folder with no program beside it, so nothing is started: the tag is "-N".
TEST(IEExtLibrary, HandsThePageOverThroughItsEntryPointsAndCarriesItsVersion) {
    testsupport::TempDataFolder data;
    const std::string lib = data.dataFolder() + platform::kExtensionFile;
    ASSERT_TRUE(QFile::copy(TOLVANE_EXTENSION_LIBRARY, QString::fromStdString(lib)));
    EXPECT_EQ(platform::readFileVersion(lib), "3.00");

    QGuiApplication::clipboard()->setText("before");
    const PageForHandOver page{"http://www.ebay.com/itm/123456789012", "Blue teapot", "<body>b</body>", "b"};
    ASSERT_TRUE(Hand_Over_Through_Library(lib, "Feedback", page));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              Build_Page_Hand_Over({"TLFEEDBACK", "-N", page.url, page.title, page.html, page.text}));

    EXPECT_FALSE(Hand_Over_Through_Library(lib, "Print", page));
    EXPECT_FALSE(Hand_Over_Through_Library(data.dataFolder() + "missing.so", "AddItem", page));
}

TEST(IEFront, ReadsItsCommandOrSaysWhatIsWrong) {
    struct Case {
        std::vector<std::string> args;
        const char* method;  // "" when refused
    };
    const Case cases[] = {
        {{"--add-item", "--url", "u", "--title", "t", "--html", "h.html", "--text", "-"}, "AddItem"},
        {{"--feedback", "--url", "u"}, "Feedback"},
        {{"--add-group"}, "AddGRP"},
        {{"--url", "u"}, ""},                                   // no command
        {{"--add-item", "--feedback"}, ""},                     // two commands
        {{"--add-item", "--url"}, ""},                          // a value missing
        {{"--add-item", "--html", "-", "--text", "-"}, ""},     // both from the standard input
        {{"--add-item", "--colour", "red"}, ""},                // unknown
    };
    for (const Case& c : cases) {
        std::string error;
        const auto command = Parse_Front_Arguments(c.args, error);
        SCOPED_TRACE(c.args.front() + " " + error);
        if (*c.method) {
            ASSERT_TRUE(command);
            EXPECT_EQ(command->method, c.method);
        } else {
            EXPECT_FALSE(command);
            EXPECT_FALSE(error.empty());
        }
    }
    std::string error;
    const auto full = Parse_Front_Arguments({"--add-item", "--url", "u", "--title", "t", "--html", "h", "--text", "-"}, error);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->url, "u");
    EXPECT_EQ(full->title, "t");
    EXPECT_EQ(full->htmlSource, "h");
    EXPECT_EQ(full->textSource, "-");
}

}  // namespace
