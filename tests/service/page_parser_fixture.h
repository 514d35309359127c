// page_parser_fixture.h — the fixture of the item-page finders' tests: the page values and the
// finders' results empty, and the user's locale en_US (so amounts read "1,234.56") around each test.
#pragma once

#include <gtest/gtest.h>

#include "platform/locale_info.h"
#include "service/page_parser.h"

namespace testsupport {

class PageFinders : public ::testing::Test {
protected:
    void SetUp() override {
        modPageParser::ResetForTests();
        platform::setUserLocaleForTests("en_US");
    }
    void TearDown() override {
        modPageParser::ResetForTests();
        platform::setUserLocaleForTests("");
    }
};

}  // namespace testsupport
