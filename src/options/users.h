// users.h — the program's users: the service accounts it bids for, their stored passwords and
// password gates, the current user, and the gated switch from one user to another.
//
// [Users] holds one key per user (the user ID, its value the service password), [LogIn] the
// same key with "1" for a password gate, [Options] LastUser the user the program starts with.
// The current user is UserState::CurrentUserID. The tray menu, the options dialog's user list
// and the login dialog all switch users through the routines here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "service/sign_in.h"

class QLabel;

namespace modUsers {

inline constexpr const char* kUsersSection = "Users";
inline constexpr const char* kLogInSection = "LogIn";
inline constexpr const char* kGuestUser = "GUEST";

inline constexpr const char* kInvalidName = "Invalid Name!";
inline constexpr const char* kOuterBlankPassword = "Password Can't Begin or End with a Blank!";

// The keys of [Users] in stored order.
std::vector<std::string> User_List();
// The stored key that names `user` (the store finds keys without regard to case); "" when none.
std::string Stored_User_Key(std::string_view user);
// The user's [LogIn] value is "1": the password must be typed to start as or switch to this user.
bool User_Is_Gated(std::string_view user);

// A user ID as it becomes a key: blanks at both ends taken away.
std::string Clean_User_Name(std::string_view typed);
// A (cleaned) name the store can keep as a key: not empty, without "=", "[", "]" or line breaks.
bool Valid_User_Name(std::string_view name);
// The store trims what it keeps, so a password with a blank at either end would not be the one
// the user typed.
bool Password_Has_Outer_Blank(std::string_view password);

// What is wrong with a new user's entries (the ID already cleaned), the first fault the user is
// told of: "" when the ID is usable and both passwords are given, usable and equal.
std::string User_Entry_Fault(std::string_view id, std::string_view password, std::string_view confirm);

// The colour of a "Confirm Password:" label (Windows colour values): black while the confirmation
// is empty, green when it equals the password, red when it differs.
inline constexpr long kConfirmBlack = 0;
inline constexpr long kConfirmRed = 255;      // RGB 255, 0, 0
inline constexpr long kConfirmGreen = 40960;  // RGB 0, 160, 0
long Confirmation_Colour(std::string_view password, std::string_view confirm);
// A label's text colour from a Windows colour value (blue × 65536 + green × 256 + red).
void Set_Label_Colour(QLabel* label, long colour);

// The main window's caption for the current user and category.
void Write_Main_Caption();

// The password question of a gated user, asked again after a wrong answer: true when the user
// is not gated or typed the stored password, false when the user gave up (an empty answer).
// The typed text is not shown.
bool Ask_Gated_Password(const std::string& user);
// `user` becomes the current user and LastUser; the caption follows.
void Make_Current_User(const std::string& user);
// The gated switch of the tray menu and the options dialog: asks for a gated user's password,
// then makes the user current. False when the user gave up; nothing changed then.
bool Switch_User_Gated(const std::string& user);

// Signs the user in (with the options dialog's test wording while UserState::SignInTest is set)
// and waits for the whole result, which tells a refusal by the service from a sign-in that got
// no answer.
modTLMain::SignInResult Sign_In_For_Result(const std::string& user);

// The start as the main window's load runs it: the current user is LastUser, and a gated last
// user must log in first (the login dialog; its Exit ends the program there and then).
void Login_At_Start();

}  // namespace modUsers
