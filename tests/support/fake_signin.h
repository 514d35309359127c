// fake_signin.h — the sign-in pages of the fake service.
//
// The sign-in page (GET /ws/eBayISAPI.dll?SignIn on the sign-in host) sets two session cookies.
// The form's POST to the same address is answered as the test chose: a 302 to the member pages or
// the home site with a persistent cookie and an expired "sru" cookie (signed in), a 302 back to the
// sign-in host whose page says the user ID or password is wrong (refused), a 200 page without a
// redirect, or no answer at all (the connection is closed). Each 302 carries a short page that
// names its target.
#pragma once

#include <string>

#include "fake_service.h"

namespace testsupport {

enum class SignInAnswer { MemberPages, HomeSite, Refused, NoRedirect, NoResponse };

struct FakeSignIn {
    static constexpr const char* kSessionCookie1 = "nonsession=CgADLM";
    static constexpr const char* kSessionCookie2 = "ebay=%5Esbf%3D%23%5E";
    static constexpr const char* kPersistentCookie = "dp1=bu1p/QEBfX0BAX19AQA**";
    // Where a refused form is sent: the sign-in page again, with the home site as return address.
    static std::string refusedTarget();
    // The page the refused sign-in is sent back to (title and the service's words).
    static const char* refusedPage();
    // The page of the answer without a redirect (a check the service puts before the sign-in).
    static const char* securityCheckPage();
    // The short page each redirect of the form carries, as web servers send one.
    static std::string redirectNote(const std::string& location);

    // The hosts the sign-in talks to (the program's own, for the site in use).
    static std::string signInHost();
    static std::string memberHost();
    static std::string homeHost();

    // Adds the routes for one answer to the fake (the last routes added win).
    static void install(FakeService& service, SignInAnswer answer);
    // The refused answer with a page of the test's own ("" = an empty page).
    static void installRefused(FakeService& service, const std::string& page);
};

}  // namespace testsupport
