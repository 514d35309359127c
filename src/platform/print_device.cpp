#include "platform/print_device.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {
namespace {

std::unique_ptr<PrintDevice> (*g_factory)() = nullptr;

class QtPrintDevice final : public PrintDevice {
public:
    explicit QtPrintDevice(const std::string& pdfPath) : m_printer(QPrinter::HighResolution) {
        if (!pdfPath.empty()) {
            m_printer.setOutputFormat(QPrinter::PdfFormat);
            m_printer.setOutputFileName(QString::fromStdString(pdfPath));
        }
        m_usable = !pdfPath.empty() || !QPrinterInfo::defaultPrinter().isNull();
    }
    bool begin(int pointSize) override {
        if (!m_usable || !m_painter.begin(&m_printer)) return false;
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(pointSize);
        m_painter.setFont(font);
        m_dpi = m_printer.resolution();
        return true;
    }
    long pageWidthTwips() const override { return toTwips(m_printer.pageLayout().paintRectPixels(m_dpi).width()); }
    long pageHeightTwips() const override { return toTwips(m_printer.pageLayout().paintRectPixels(m_dpi).height()); }
    long rowHeightTwips() const override { return toTwips(QFontMetrics(m_painter.font(), &m_printer).height()); }
    void drawText(long x, long y, const std::string& text, long maxWidth) override {
        const QFontMetrics fm(m_painter.font(), &m_printer);
        QString t = QString::fromStdString(text);
        m_painter.save();
        if (maxWidth > 0) m_painter.setClipRect(toDevice(x), toDevice(y), toDevice(maxWidth), fm.height());
        m_painter.drawText(toDevice(x), toDevice(y) + fm.ascent(), t);
        m_painter.restore();
    }
    void drawLine(long x1, long y1, long x2, long y2, int widthTwips) override {
        m_painter.setPen(QPen(Qt::black, toDevice(widthTwips)));
        m_painter.drawLine(toDevice(x1), toDevice(y1), toDevice(x2), toDevice(y2));
    }
    bool newPage() override { return m_printer.newPage(); }
    bool end() override { return m_painter.isActive() && m_painter.end(); }

private:
    long toTwips(int device) const { return m_dpi ? static_cast<long>(device) * 1440 / m_dpi : 0; }
    int toDevice(long twips) const { return static_cast<int>(twips * m_dpi / 1440); }

    QPrinter m_printer;
    QPainter m_painter;
    int m_dpi = 0;
    bool m_usable = false;
};

}  // namespace

std::unique_ptr<PrintDevice> openPrintDevice(const std::string& pdfPath) {
    if (pdfPath.empty() && g_factory) return g_factory();
    return std::make_unique<QtPrintDevice>(pdfPath);
}

void setPrintDeviceFactoryForTests(std::unique_ptr<PrintDevice> (*factory)()) { g_factory = factory; }

}  // namespace platform
