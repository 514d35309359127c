#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPointer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "fake_clipboard.h"
#include "grid_fixture.h"
#include "items/comment_window.h"
#include "items/item_sort.h"

using namespace testsupport;
using namespace TLMainItems;

namespace {

class CommentWindowTest : public ItemGridTest {
protected:
    void SetUp() override {
        ItemGridTest::SetUp();
        CommentWait = 0;
        CommentWindowOpen = false;
    }
    void TearDown() override {
        if (Comment* w = Comment_Window()) w->close();
        ItemGridTest::TearDown();
    }
    // Opens the window on item `index`.
    Comment& open(int index) {
        CommentItemIndex = static_cast<int16_t>(index);
        Open_Comment_Window();
        return *Comment_Window();
    }
    static void type(Comment& w, const char* text) { w.CommentTxt->setPlainText(text); }
    static void pressEnter(Comment& w) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(w.CommentTxt, &press);
    }
    // Closed for good: hidden, and deleted once the event loop runs.
    static bool gone(const QPointer<Comment>& window) {
        if (window && window->isVisible()) return false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }
    static long screenTwips(bool width) {
        const QRect s = QGuiApplication::primaryScreen()->geometry();
        return (width ? s.width() : s.height()) * 15;
    }
    FakeClipboard clipboard;
};

TEST_F(CommentWindowTest, OpensOnTheItemWithItsComment) {
    AuctionItem& a = item(addItem("555"));
    a.Title = "Old camera";
    a.CommentText = "check the shutter";
    modTLC::Set_Config_Value("Options", "AutoComment", "1");
    Comment& w = open(1);
    EXPECT_EQ(w.windowTitle().toStdString(), "Tolvane Rerode II Item Comment - 555");
    EXPECT_EQ(w.ItemNameLab->text().toStdString(), "Old camera");
    EXPECT_EQ(w.CommentTxt->toPlainText().toStdString(), "check the shutter");
    EXPECT_TRUE(w.AutoComment->isChecked());
    EXPECT_TRUE(w.Cmd[0]->isEnabled());
    EXPECT_TRUE(CommentWindowOpen);
    EXPECT_EQ(w.Tip->toolTip().toStdString(), "You can hightlight and paste (Ctrl-C) text from the auction page");
}

TEST_F(CommentWindowTest, WithoutAnItemOnlyExitIsOffered) {
    Comment& w = open(0);
    EXPECT_EQ(w.windowTitle().toStdString(), kCommentTitle);
    EXPECT_EQ(w.ItemNameLab->text().toStdString(), "None Selected");
    EXPECT_FALSE(w.Cmd[0]->isEnabled());
    EXPECT_FALSE(w.Cmd[1]->isEnabled());
    EXPECT_TRUE(w.Cmd[2]->isEnabled());
}

struct ButtonCase {
    const char* what;
    int button;
    const char* typed;
    const char* stored;
    const char* status;
};

TEST_F(CommentWindowTest, TheButtonsStoreDeleteOrKeepTheComment) {
    const ButtonCase cases[] = {
        {"Add", 0, "new words", "new words", "new words"},
        {"Add an empty box", 0, "", "", ""},
        {"Delete", 1, "ignored", "", kCommentDeleted},
        {"Exit", 2, "ignored", "stored before", "unchanged"},
    };
    for (const auto& c : cases) {
        ResetItemStoreForTests();
        item(addItem("1")).CommentText = "stored before";
        Save_Auction_Items();
        status.setStatus("unchanged");
        CommentWait = 1;
        Comment& w = open(1);
        const QPointer<Comment> window = &w;
        type(w, c.typed);
        w.Cmd[c.button]->click();
        EXPECT_TRUE(gone(window)) << c.what;
        EXPECT_EQ(item(1).CommentText, c.stored) << c.what;
        EXPECT_EQ(status.status, c.status) << c.what;
        Load_Auction_Items();
        EXPECT_EQ(item(1).CommentText, c.stored) << c.what << " (saved)";
        EXPECT_EQ(Comment_Window(), nullptr) << c.what;
        EXPECT_FALSE(CommentWindowOpen) << c.what;
        EXPECT_EQ(CommentWait, 0) << c.what;
    }
}

TEST_F(CommentWindowTest, TheCommentGoesToItsItemWhereverTheListMovedIt) {
    item(addItem("1")).Seller = "zed (1) 100%";
    item(addItem("2")).Seller = "abe (1) 100%";
    Comment& w = open(1);
    Sort_Auction_Items(2);  // by seller: item "1" is now the second
    type(w, "for item one");
    w.Cmd[0]->click();
    EXPECT_EQ(item(2).ItemNumber, "1");
    EXPECT_EQ(item(2).CommentText, "for item one");
    EXPECT_EQ(item(1).CommentText, "");

    Comment& again = open(2);
    Items.erase(Items.begin() + 2);  // the item goes while the window is open
    ItemCount = 1;
    type(again, "lost words");
    again.Cmd[0]->click();
    EXPECT_EQ(status.status, kItemGone);
    EXPECT_EQ(item(1).CommentText, "");
    EXPECT_EQ(Comment_Window(), nullptr);
}

TEST_F(CommentWindowTest, EnterStoresAFilledBoxAndOtherwiseTypes) {
    addItem("1");
    Comment& w = open(1);
    pressEnter(w);
    EXPECT_EQ(Comment_Window(), &w);  // an empty box takes the key
    const QPointer<Comment> window = &w;
    type(w, "fine");
    pressEnter(w);
    EXPECT_TRUE(gone(window));
    EXPECT_EQ(item(1).CommentText, "fine");
    EXPECT_EQ(Comment_Window(), nullptr);
}

TEST_F(CommentWindowTest, ClosingItAnyOtherWayRunsTheExitSteps) {
    addItem("1");
    CommentWait = 1;
    Comment& w = open(1);
    const QPointer<Comment> window = &w;
    w.move(30, 45);
    const QPoint at = w.pos();
    w.close();
    EXPECT_TRUE(gone(window));
    EXPECT_FALSE(CommentWindowOpen);
    EXPECT_EQ(CommentWait, 0);
    EXPECT_EQ(Comment_Window(), nullptr);
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "CommentPosLeft"), std::to_string(at.x() * 15));
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "CommentPosTop"), std::to_string(at.y() * 15));

    Comment& esc = open(1);
    const QPointer<Comment> escWindow = &esc;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&esc, &key);
    EXPECT_TRUE(gone(escWindow));
    EXPECT_FALSE(CommentWindowOpen);
    EXPECT_EQ(Comment_Window(), nullptr);
}

TEST_F(CommentWindowTest, TextCopiedWhileOpenIsAppendedAndTheClipboardIsLeftAlone) {
    addItem("1");
    clipboard.userCopies("copied before");
    Comment& w = open(1);
    type(w, "Notes: ");
    clipboard.userCopies("first part");
    clipboard.userCopies(", second part");
    EXPECT_EQ(w.CommentTxt->toPlainText().toStdString(), "Notes: first part, second part");
    EXPECT_EQ(clipboard.text(), ", second part");
    EXPECT_EQ(clipboard.writes(), 0);
    w.Cmd[0]->click();
    EXPECT_EQ(item(1).CommentText, "Notes: first part, second part");
    EXPECT_EQ(clipboard.text(), ", second part");
    clipboard.userCopies("after it closed");
    EXPECT_EQ(item(1).CommentText, "Notes: first part, second part");
}

struct PlaceCase {
    const char* what;
    const char* left;  // stored, "" none
    const char* top;
    bool centredX, centredY;
    long x, y;  // twips when not centred; -1: flush with the far edge
};

TEST_F(CommentWindowTest, OpensWhereItWasKeptOnTheScreen) {
    const PlaceCase cases[] = {
        {"centred when nothing is stored", "", "", true, true, 0, 0},
        {"where it was", "1500", "900", false, false, 1500, 900},
        {"beyond the right edge: flush with it", "999999", "900", false, false, -1, 900},
        {"above the top: at the top", "1500", "-600", false, false, 1500, 0},
    };
    for (const auto& c : cases) {
        modTLC::Set_Config_Value("Options", "CommentPosLeft", c.left);
        modTLC::Set_Config_Value("Options", "CommentPosTop", c.top);
        if (!*c.left) modTLC::Delete_Config_Key("Options", "CommentPosLeft");
        if (!*c.top) modTLC::Delete_Config_Key("Options", "CommentPosTop");
        Comment& w = open(0);
        const long width = w.width() * 15, height = w.height() * 15;
        const long x = c.centredX ? (screenTwips(true) - width) / 2 : c.x == -1 ? screenTwips(true) - width : c.x;
        const long y = c.centredY ? (screenTwips(false) - height) / 2 : c.y;
        EXPECT_EQ(w.pos(), QPoint(static_cast<int>(x / 15), static_cast<int>(y / 15))) << c.what;
        w.Cmd[2]->click();
    }
}

TEST_F(CommentWindowTest, TheAutoCommentBoxIsStoredAtOnce) {
    Comment& w = open(0);
    w.AutoComment->click();
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "AutoComment"), "1");
    w.AutoComment->click();
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "AutoComment"), "0");
    w.Cmd[2]->click();
    EXPECT_EQ(modTLC::Get_Config_Value("Options", "AutoComment"), "0");
}

}  // namespace
