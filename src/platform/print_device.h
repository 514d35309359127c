// print_device.h — a page of the printer: text and lines placed in twips from the top left of the
// printable area, pages started one after another. The printer the system uses is the desktop's
// default (CUPS) printer; a PDF file stands in for it where a file is wanted.
#pragma once

#include <memory>
#include <string>

namespace platform {

class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    // Starts the job with this type size; false when there is no printer or it refused.
    virtual bool begin(int pointSize) = 0;
    virtual long pageWidthTwips() const = 0;
    virtual long pageHeightTwips() const = 0;
    // The height of one row of the type in twips.
    virtual long rowHeightTwips() const = 0;
    // `text` with its top left at (x, y), cut at `maxWidth` twips (0: no limit).
    virtual void drawText(long x, long y, const std::string& text, long maxWidth) = 0;
    virtual void drawLine(long x1, long y1, long x2, long y2, int widthTwips) = 0;
    virtual bool newPage() = 0;
    // Ends the job (it goes to the printer); false when it failed.
    virtual bool end() = 0;
};

// The default printer, or a PDF file when `pdfPath` is given; the test hook's device when set.
std::unique_ptr<PrintDevice> openPrintDevice(const std::string& pdfPath = {});
// Tests: the device every openPrintDevice() without a PDF path gives (nullptr: the system's).
void setPrintDeviceFactoryForTests(std::unique_ptr<PrintDevice> (*factory)());

}  // namespace platform
