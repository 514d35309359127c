// comment_window.h — the item comment window (form Comment): the user writes, replaces or
// deletes the comment of one item. It opens from the item popup's "Comment" and, with
// [Options] AutoComment on, after an item is added (the adder waits until it closes).
//
// The window keeps the item's number and looks it up again at its buttons, so a list sorted or
// changed meanwhile cannot put the comment on another item; an item gone by then gets "Item no
// longer in list" and nothing is written. While the window is open, text the user copies to the
// clipboard anywhere is appended to the comment as the clipboard changes; the clipboard itself
// is left alone. However the window closes, its exit steps run (position saved, flags cleared).
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QCheckBox;
class QCloseEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Clipboard;
}

namespace TLMainItems {

inline constexpr const char* kCommentTitle = "Tolvane Rerode II - Item Comment";
inline constexpr const char* kItemGone = "Item no longer in list";
inline constexpr const char* kCommentDeleted = "Comment Deleted....";

// The item whose comment the window edits, set by the opener (0 or less: none).
inline int16_t CommentItemIndex = 0;
// 1 while an item adder waits for the window; every close sets it to 0.
inline int32_t CommentWait = 0;
// Set while the window is open.
inline bool CommentWindowOpen = false;

class Comment final : public QDialog {
public:
    Comment();
    ~Comment() override;

    // Event procedures.
    void Form_Load();
    void Form_Activate();
    void cmd_Click(int Index);  // 0 Add, 1 Delete, 2 Exit
    void AutoComment_Click();
    // Esc closes the window like its close box.
    void reject() override { close(); }

    std::string itemNumber() const { return m_itemNumber; }

    QLabel* ItemNameLab = nullptr;
    QPlainTextEdit* CommentTxt = nullptr;
    QCheckBox* AutoComment = nullptr;
    QLabel* Tip = nullptr;
    QPushButton* Cmd[3] = {};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void appendClipboardText();
    void finish();  // the steps every way of closing runs

    std::string m_itemNumber;
    int m_clipboardWatch = 0;
    platform::Clipboard* m_board = nullptr;  // the clipboard watched
    bool m_finished = false;
};

// Shows the window for CommentItemIndex: loads it when it is closed, else brings it forward.
void Open_Comment_Window();
// The open window, or nullptr.
Comment* Comment_Window();

}  // namespace TLMainItems
