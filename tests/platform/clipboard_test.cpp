#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/clipboard.h"

namespace {

TEST(Clipboard, WatchersHearOfEachChangeUntilTheyStop) {
    platform::Clipboard& board = platform::clipboard();
    std::vector<std::string> heard;
    const int id = board.watchChanges([&] { heard.push_back(board.text()); });
    board.setText("first");
    QCoreApplication::processEvents();
    board.setText("second");
    QCoreApplication::processEvents();
    board.unwatchChanges(id);
    board.setText("third");
    QCoreApplication::processEvents();
    ASSERT_FALSE(heard.empty()) << "the system clipboard raised no change";
    EXPECT_EQ(heard.back(), "second");
    board.clear();
}

}  // namespace
