// new_setup.h — the first-run set-up wizard (NewSetup). Start-up loads it hidden at every start:
// its start timer loads the configuration store. On a new installation the splash window shows
// it: a welcome, the first user's ID and password, an introduction, three checks (Internet
// connection, sign-in, clock) and a closing text; Done saves the configuration and shows the
// main window.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/timers.h"

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class NewSetup final : public QWidget {
    Q_OBJECT
public:
    NewSetup();
    static NewSetup& instance();
    static bool loaded();
    static void Unload();

    void Form_Load();
    void LIF_Timer();
    void NextBtn_Click();
    void BackBtn_Click();
    // 1 when the user ID and both passwords are complete, valid and equal; else 0 after a message.
    int CheckUserInfo();
    void Run_Checks();
    void cmdHelp_Click(int Index);
    void UsersConfirmBox_Change();
    // The wizard's end: saves the configuration and shows the main window. Without a stored user
    // the user is asked first; false when the user stays in the wizard.
    bool Done();

    // Shows the main window (the program's main() sets it).
    static void SetShowMainWindow(std::function<void()> show);

    // What the wizard shows.
    int16_t wizardStep() const { return WizardStep; }
    bool checkRunning() const { return m_running; }
    int shownStep() const;                   // the frame on show, -1 when none
    std::string heading() const;             // Checks(0)
    bool rowShown(int row) const;            // Checks(row), 1 to 4
    bool helpShown(int row) const;           // cmdHelp(row)
    int rowResult(int row) const;            // Validation(row): 1 pass, 0 fail, -1 no picture
    long confirmColour() const { return m_confirmColour; }  // Windows colour value
    static std::string HelpText(int Index);  // "" for an index without a help text

    QFrame* Step[5] = {};
    QLabel* SetupLabel[5] = {};  // the step texts (Setup(0), (1), (2), (4))
    QLabel* Tab1[4] = {};        // 1 to 3
    QLineEdit* UsersIDBox = nullptr;
    QLineEdit* UsersPassBox = nullptr;
    QLineEdit* UsersConfirmBox = nullptr;
    QLabel* Checks[5] = {};
    QLabel* Validation[5] = {};  // 1 to 4
    QPushButton* cmdHelp[5] = {};  // 1 to 4
    QLabel* labCountry = nullptr;
    QLabel* TZoneLab = nullptr;
    QPushButton* BackBtn = nullptr;
    QPushButton* NextBtn = nullptr;

protected:
    // The title bar's close is refused while the checks run, otherwise it is Done: the presets are
    // saved already, so ending the program would never bring the wizard back.
    void closeEvent(QCloseEvent* e) override;
    // Enter is Next (Done on the last step), wherever the focus is.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void showOnly(int step);
    void resetRows();
    void setResult(int row, bool pass);
    void endRun(const char* heading);

    platform::Timer LIF;
    int16_t WizardStep = 0;
    std::string SetupText[5];
    QPixmap m_pass;  // the green tick
    QPixmap m_fail;  // the red cross
    bool m_running = false;
    long m_confirmColour = 0;
};
