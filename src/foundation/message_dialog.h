// message_dialog.h — the program's own message window (form Messages): a centred message,
// then an input line, up to three choices, a count-down or a large status text, up to three
// buttons and an optional check box. Positions and sizes are kept in twips.
//
// A waiting call gets a window of its own, with its own flags and answer, so a message that
// a timer shows while another call waits cannot take that call's answer. Modeless calls share
// one window (laid out anew by each call, left up) and the process-wide flags below, which
// their callers watch; its large label also shows the download progress.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/dialog_keys.h"
#include "platform/timers.h"

class QCheckBox;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Messages final : public QWidget {
public:
    // The sixteen arguments of DisplayMsg, in their order.
    struct Args {
        std::string Text;
        long FontSize = 8;             // below 1 means 8
        bool Bold = false;
        long CountDownSecs = 0;        // 1 or more: a count-down that presses button 1 at zero
        std::string Btn1Caption;       // empty: no buttons at all
        std::string Btn2Caption;       // empty: no button 2
        std::string Btn3Caption;       // empty: no button 3
        bool Modeless = false;         // true: return at once and leave the window up
        bool ShowCheck = false;
        std::string CheckCaption;      // empty keeps "Do not show this message again"
        std::string BigLabelText;      // a large status text (when there is no count-down)
        std::string Title;             // empty gives "Tolvane Rerode II"
        long InputHeight = 0;          // not 0: show the input line with this height
        std::string Opt1Caption;
        std::string Opt2Caption;       // the choices show only when Opt1 and Opt2 are both set
        std::string Opt3Caption;       // optional third choice
        // The button that has the focus when the window opens, so that Enter presses it (1 to 3;
        // one not shown: button 1). A question whose first button gives something up names its
        // other answer here; the buttons keep their order and captions.
        int DefaultButton = 1;
    };

    // Process-wide flags of the shared (modeless) window, 16-bit Booleans (-1 true), cleared
    // when it loads. MsgCheckValue also holds the check box of a waiting call once it returns.
    static inline int16_t MsgBtn1Pressed = 0;
    static inline int16_t MsgBtn2Pressed = 0;
    static inline int16_t MsgBtn3Pressed = 0;
    static inline int16_t MsgClosed = 0;
    static inline int16_t MsgCheckValue = 0;
    // Where callers keep the last answer.
    static inline std::string MsgReply;

    static inline const char* const kDefaultTitle = "Tolvane Rerode II";
    static inline const char* const kDefaultCheckCaption = "Do not show this message again";

    // Shows the window. Waiting: returns "MsgBtn1".."MsgBtn3", "Opt1".."Opt3", the typed text,
    // or "" when the window was closed otherwise. Modeless: returns "" at once.
    static std::string DisplayMsg(const std::string& Text, long FontSize, bool Bold, long CountDownSecs,
                                  const std::string& Btn1Caption, const std::string& Btn2Caption,
                                  const std::string& Btn3Caption, bool Modeless, bool ShowCheck,
                                  const std::string& CheckCaption, const std::string& BigLabelText,
                                  const std::string& Title, long InputHeight, const std::string& Opt1Caption,
                                  const std::string& Opt2Caption, const std::string& Opt3Caption);
    static std::string DisplayMsg(const Args& args);

    // The shared (modeless) window while it is loaded, else nullptr.
    static Messages* Shared();
    // Unloads the shared window (sets MsgClosed) when it is loaded.
    static void UnloadShared();
    // The large label (labNum) of the shared window, repainted at once; nothing when it is not loaded.
    static void SetProgressText(const std::string& text);
    static std::string ProgressText();

    // Called with each waiting window right after it shows (tests play the user through it).
    static void SetAnswerHookForTests(std::function<void(Messages&)> hook);

    // What the user can do.
    void clickButton(int n);                 // 1 to 3
    void chooseOption(int n);                // 1 to 3
    void typeText(const std::string& text);  // replaces the input line's text
    void clickCheck();
    void closeWindow();                      // as the window's close box

    // What the window shows.
    std::string messageText() const;  // as passed (lines joined by CR LF)
    std::string titleText() const;
    std::string numberText() const;   // labNum
    std::string buttonCaption(int n) const;
    bool isModeless() const { return m_modeless; }
    long secondsLeft() const { return m_secondsLeft; }
    bool countDownRunning() const { return TimeRemaining.enabled(); }
    bool checked() const;

    // Layout in twips, as placed by the last call; `shown` is the control's own visibility.
    struct Twips {
        int left = 0, top = 0, width = 0, height = 0;
        bool shown = false;
    };
    Twips place(const QWidget* control) const;
    int formWidth() const { return m_formWidth; }
    int formHeight() const { return m_formHeight; }
    double messageFontSize() const;
    bool messageBold() const;

    // This window's flags: the process-wide ones for the shared window, its own for a waiting call.
    int16_t btnPressed(int n) const { return *m_flag[n - 1]; }
    int16_t closedFlag() const { return *m_flag[3]; }
    int16_t checkValue() const { return *m_flag[4]; }

    // The controls.
    QLabel* labMsg = nullptr;
    QLineEdit* Text1 = nullptr;
    QRadioButton* Opt[4] = {};  // 1 to 3
    QLabel* labNum = nullptr;
    QLabel* labSec = nullptr;
    QPushButton* cmdBtn1 = nullptr;
    QPushButton* cmdBtn2 = nullptr;
    QPushButton* cmdBtn3 = nullptr;
    QLabel* labBtnwidth = nullptr;
    QCheckBox* Check1 = nullptr;
    platform::Timer TimeRemaining;

    // Event procedures.
    void Form_Load();
    void cmdBtn1_Click();
    void cmdBtn2_Click();
    void cmdBtn3_Click();
    void Check1_Click();
    void TimeRemaining_Timer();
    void Form_Unload();

    ~Messages() override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    explicit Messages(bool shared);
    void Layout(const Args& a);
    void Unload();
    std::string WaitResult() const;
    void setPlace(QWidget* w, int left, int top, int width, int height);
    void showControl(QWidget* w);
    void autoSize(QLabel* l);  // a label that takes the size of its text
    int captionWidth(const std::string& caption);
    // The button Enter presses when no button has the focus: the default button, else the first
    // one shown (nullptr: none shown).
    QPushButton* enterButton() const;

    bool m_shared = false;
    bool m_modeless = false;
    bool m_unloaded = false;
    long m_secondsLeft = 0;
    bool m_inputShown = false;
    bool m_choicesShown = false;
    QPushButton* m_default = nullptr;  // the button Enter presses when no button has the focus
    std::string m_text;
    int m_formWidth = 0;
    int m_formHeight = 0;
    std::map<const QWidget*, Twips> m_place;
    int16_t m_own[5] = {0, 0, 0, 0, 0};
    int16_t* m_flag[5];
    platform::DefaultButtonMark m_defaultMark;  // the button Enter presses is drawn as the default
};
