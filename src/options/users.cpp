#include "options/users.h"

#include <QLabel>

#include "foundation/config_store.h"
#include "foundation/small_routines.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/categories.h"
#include "items/item_window_links.h"
#include "options/login_form.h"
#include "platform/input_box.h"
#include "platform/message_box.h"
#include "service/http_request.h"

namespace modUsers {

std::vector<std::string> User_List() { return modTLC::Get_Section_Keys(kUsersSection); }

std::string Stored_User_Key(std::string_view user) {
    if (user.empty()) return {};
    for (const std::string& key : User_List())
        if (vb::EqualText(key, user)) return key;
    return {};
}

bool User_Is_Gated(std::string_view user) {
    return !user.empty() && modTLC::Get_Config_Value(kLogInSection, user, "0") == "1";
}

std::string Clean_User_Name(std::string_view typed) { return vb::Trim(typed); }

bool Valid_User_Name(std::string_view name) {
    return !name.empty() && name.find_first_of("=[]\r\n") == std::string_view::npos;
}

bool Password_Has_Outer_Blank(std::string_view password) {
    return !password.empty() && (password.front() == ' ' || password.back() == ' ');
}

std::string User_Entry_Fault(std::string_view id, std::string_view password, std::string_view confirm) {
    if (id.empty()) return "No User ID Entered....";
    if (!Valid_User_Name(id)) return kInvalidName;
    if (password.empty()) return "No User Password Entered....";
    if (Password_Has_Outer_Blank(password)) return kOuterBlankPassword;
    if (confirm.empty()) return "No User Confirmation Password Entered....";
    if (password != confirm) return "Confirmation Password Doesn't Match Users Password";
    return {};
}

long Confirmation_Colour(std::string_view password, std::string_view confirm) {
    if (confirm.empty()) return kConfirmBlack;
    return confirm == password ? kConfirmGreen : kConfirmRed;
}

void Set_Label_Colour(QLabel* label, long colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    label->setPalette(p);
}

void Write_Main_Caption() {
    TLMainItems::itemLink<TLMainItems::ItemWindow>().setMainCaption(
        TLMainItems::Main_Caption(TLMainItems::Current_Category_Name()));
}

bool Ask_Gated_Password(const std::string& user) {
    if (!User_Is_Gated(user)) return true;
    const std::string stored = modTLMain::Get_User_Password(user);
    for (;;) {
        const std::string typed = platform::PasswordBox("User Password Required...", "Password Required");
        if (typed.empty()) return false;
        if (typed == stored) return true;
        platform::MsgBox("Invalid Password....", platform::vbOKOnly | platform::vbExclamation | platform::vbSystemModal);
    }
}

void Make_Current_User(const std::string& user) {
    UserState::CurrentUserID = user;
    modTLC::Set_Config_Value("Options", "LastUser", user);
    Write_Main_Caption();
}

bool Switch_User_Gated(const std::string& user) {
    if (!Ask_Gated_Password(user)) return false;
    Make_Current_User(user);
    return true;
}

modTLMain::SignInResult Sign_In_For_Result(const std::string& user) {
    modTLMain::SignInOptions options;
    options.test = UserState::SignInTest != 0;
    modWinInet::Answer<modTLMain::SignInResult> answer;
    modTLMain::Start_Sign_In(user, options, modWinInet::Deadline::none(), answer.receiver());
    return answer.wait();
}

void Login_At_Start() {
    UserState::CurrentUserID = modTLC::Get_Config_Value("Options", "LastUser", "");
    if (!User_Is_Gated(UserState::CurrentUserID)) return;
    Login::Show_Login();
    Write_Main_Caption();
}

}  // namespace modUsers
