// browser_fakes.h — the fake services the browser window reaches in these tests.
//
// The web engine reads its host rules once, when it starts, so the fakes start before the first
// test and serve the whole test program: the program's connect-to map sends every host to the
// trusted fake, except two names of the reserved example.com domain that go to a fake with a
// certificate of an unknown authority and to one whose certificate names other hosts.
#pragma once

#include <string>

#include "fake_service.h"

namespace browsertest {

testsupport::FakeService& trustedFake();      // HTTP and HTTPS, the client's CA
testsupport::FakeService& untrustedFake();    // HTTPS, a CA the client does not know
testsupport::FakeService& wrongNameFake();    // HTTPS, the client's CA, names of no service host

inline constexpr const char* kUntrustedHost = "untrusted.example.com";
inline constexpr const char* kWrongNameHost = "wrongname.example.com";

}  // namespace browsertest
