// users_tab.h — the "Users" page of the options dialog: the user list that chooses the current
// user, "Add New User", "Change Password", "Delete User" and "Check User ID". The page also holds
// the "eBay Site" frame, which the options dialog fills with the site list.
//
// The Bid Groups page has a second user list (UserListboxGrps) that always holds the same users;
// the options dialog hands it over (setGroupsUserList), and every fill and selection here does
// the same in it. Selecting there runs that page's own handler (its groups follow the user).
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QCloseEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class UsersTab final : public QWidget {
public:
    explicit UsersTab(QWidget* parent = nullptr);

    // The Bid Groups page's user list (nullptr: none).
    void setGroupsUserList(QComboBox* list);
    // Load_Setup_Groups of the Bid Groups page: run by the fill between the lists' fill and the
    // selection of the current user.
    void setLoadSetupGroups(std::function<void()> load);
    // Load_Email_Settings of the eMail page: run when another user becomes current here.
    void setLoadEmailSettings(std::function<void()> load);

    // The fill at the options dialog's load: both lists from [Users], the groups, then the current
    // user selected in both (or "No User Selected" in the list's text field).
    void Load_Users();
    // Both lists cleared and filled again from [Users], nothing selected.
    void Fill_User_Lists();
    // The current user selected in both lists (the first entry equal to it, case included).
    void Select_Current_User();

    // Event procedures.
    void UserListbox_Click();
    void cmdAddUser_Click();
    void cmdChgPass_Click();
    void DeleteUser_Click();
    void TestUserID_Click();

    // What the user can do: selects the entry with that text (exactly), as a click in the list.
    void chooseUser(const std::string& entry);

    // What the page shows.
    std::vector<std::string> entries() const;
    std::string selectedEntry() const;  // "" when nothing is selected
    std::string listText() const;       // the list's text field

    // The options dialog that holds this page (the window it keeps on top).
    QWidget* setupWindow();

    QLabel* Label2 = nullptr;
    QLabel* labUserID = nullptr;
    QComboBox* UserListbox = nullptr;
    QPushButton* cmdAddUser = nullptr;
    QPushButton* cmdChgPass = nullptr;
    QPushButton* DeleteUser = nullptr;
    QPushButton* TestUserID = nullptr;
    QLabel* labTestID = nullptr;
    // The "eBay Site" frame: its layout is empty for the options dialog's site list.
    QGroupBox* siteFrame = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void fillList(QComboBox* list, const std::vector<std::string>& names);
    void selectIndex(QComboBox* list, int index);
    // "Change Password" only for a current user that is stored in [Users].
    void Refresh_Buttons();

    QPointer<QComboBox> m_groupsList;
    std::function<void()> m_loadSetupGroups;
    std::function<void()> m_loadEmailSettings;
    bool m_filling = false;
    bool m_choosing = false;  // a chosen entry waits for the window to be shown again
};

// A small dialog of the Users page (add user, change password): modeless and one at a time;
// whichever way it closes, the options dialog is put on top again.
class UsersPageDialog : public QWidget {
public:
    // The options dialog on top again, when it is still shown.
    void Form_Unload();

protected:
    explicit UsersPageDialog(QWidget* parent = nullptr) : QWidget(parent) {}
    // Hides the dialog and lets it go (once).
    void Unload();
    // Forgets the one instance.
    virtual void forget() = 0;
    void closeEvent(QCloseEvent* e) override;

    QPointer<UsersTab> m_tab;  // the page that opened it (gone when the options dialog closed)

private:
    bool m_unloaded = false;
};
