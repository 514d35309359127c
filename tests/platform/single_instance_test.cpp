#include <gtest/gtest.h>

#include "platform/single_instance.h"
#include "platform/timers.h"

TEST(SingleInstance, ALaterStartReachesTheFirstAndOtherFoldersDoNot) {
    platform::SingleInstance first("/tmp/a-data-folder/");
    int shown = 0;
    ASSERT_TRUE(first.listen([&] { ++shown; }));

    platform::SingleInstance other("/tmp/another-data-folder/");
    EXPECT_FALSE(other.anotherIsRunning());

    platform::SingleInstance second("/tmp/a-data-folder/");
    EXPECT_TRUE(second.anotherIsRunning());
    EXPECT_TRUE(platform::timers().waitUntil([&] { return shown == 1; }, 5000));
}
