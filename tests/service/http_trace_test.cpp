// What the HTTP trace may show: passwords and cookie values are masked.
#include <gtest/gtest.h>

#include "service/http_trace.h"

namespace {

TEST(HttpTrace, MasksPasswordsAndCookieValues) {
    struct {
        const char* text;
        const char* masked;
    } cases[] = {
        {"Cookie: a=1; b=2", "Cookie: a=********; b=********"},
        {"Cookie: a=1; b=2\r\n", "Cookie: a=********; b=********\r\n"},
        {"cookie:sid=x=y;keep=", "cookie:sid=********;keep=********"},
        {"Cookie: nameless; a=1 ;  ; b=2", "Cookie: ********; a=******** ;  ; b=********"},
        {"Set-Cookie: sid=abc; path=/; Expires=Wed, 09-Jun-2027 10:18:14 GMT",
         "Set-Cookie: sid=********; path=/; Expires=Wed, 09-Jun-2027 10:18:14 GMT"},
        {"HTTP/1.1 302 Found\r\nSET-COOKIE:  k=v\r\nLocation: /x?Cookie: a=1\r\nset-cookie: bare; path=/\r\n\r\n",
         "HTTP/1.1 302 Found\r\nSET-COOKIE:  k=********\r\nLocation: /x?Cookie: a=1\r\nset-cookie: ********; path=/\r\n\r\n"},
        {"Set-Cookie: a=1\rCookie: b=2\nSet-Cookie: c=3", "Set-Cookie: a=********\rCookie: b=********\nSet-Cookie: c=********"},
        {"Http Begin - http://h/s?user=bob&PASS=secret&x=1 - GET - bob",
         "Http Begin - http://h/s?user=bob&PASS=********&x=1 - GET - bob"},
        {"Cookie: pass=1; a=2", "Cookie: pass=********; a=********"},
        {"X-Cookie: a=1\r\nCookie:\r\nCookies: a=1", "X-Cookie: a=1\r\nCookie:\r\nCookies: a=1"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(modWinInet::Mask_Trace_Text(c.text), c.masked) << c.text;
}

}  // namespace
