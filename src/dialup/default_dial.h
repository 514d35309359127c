// default_dial.h — the default dial account dialog (DefaultDial): a user name, password and
// number to dial with, and whether they are always used instead of the account kept with the
// chosen connection. The options dialog hides itself to open it and shows again when it closes.
#pragma once

#include <QWidget>

class QCheckBox;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class DefaultDial final : public QWidget {
public:
    // The one dialog, shown modeless (loaded first when needed).
    static DefaultDial& Show_DefaultDial();
    static DefaultDial* loaded();  // nullptr when it is not open

    void Form_Load();
    void Form_Activate();
    void cmdOK_Click();
    void cmdCancel_Click();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtUsername = nullptr;
    QLineEdit* txtPassword = nullptr;  // shows no characters
    QLineEdit* txtPhone = nullptr;
    QCheckBox* AlwaysUse = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    bool event(QEvent* e) override;
    // The close box does what Cancel does.
    void closeEvent(QCloseEvent* e) override;
    // Enter is OK (on a button with the focus: that button), Esc is Cancel.
    void keyPressEvent(QKeyEvent* e) override;

private:
    DefaultDial();
    ~DefaultDial() override;
    void unload();
};
