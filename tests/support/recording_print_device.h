// recording_print_device.h — a printer page that records what is placed on it: texts with their
// positions and clip widths, lines, page starts. Its page size and row height are set by the test.
#pragma once

#include <string>
#include <vector>

#include "platform/print_device.h"

namespace testsupport {

class RecordingPrintDevice final : public platform::PrintDevice {
public:
    struct Text { int page; long x, y; std::string text; long maxWidth; };
    struct Line { int page; long x1, y1, x2, y2; };

    bool begin(int pointSize) override {
        began = available;
        this->pointSize = pointSize;
        return available;
    }
    long pageWidthTwips() const override { return width; }
    long pageHeightTwips() const override { return height; }
    long rowHeightTwips() const override { return row; }
    void drawText(long x, long y, const std::string& text, long maxWidth) override {
        texts.push_back({page, x, y, text, maxWidth});
    }
    void drawLine(long x1, long y1, long x2, long y2, int) override { lines.push_back({page, x1, y1, x2, y2}); }
    bool newPage() override {
        ++page;
        return true;
    }
    bool end() override {
        ended = true;
        return endSucceeds;
    }

    long width = 11520, height = 15120, row = 276;
    bool available = true, endSucceeds = true;
    bool began = false, ended = false;
    int pointSize = 0, page = 1;
    std::vector<Text> texts;
    std::vector<Line> lines;
};

}  // namespace testsupport
