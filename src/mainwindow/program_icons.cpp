#include "mainwindow/program_icons.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

namespace TLMainIcons {
namespace {

QColor Palette_Colour(QIcon::Mode mode, QPalette::ColorRole role) {
    return QGuiApplication::palette().color(mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active, role);
}

// The relative luminance of a colour, and the contrast ratio of two (1 to 21).
double Luminance(QRgb c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double Contrast_Ratio(QRgb a, QRgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The picture with an outline of `ink` around everything it draws, `width` pixels wide.
QImage Outlined(const QImage& picture, const QColor& ink, int width) {
    QImage shape = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter tint(&shape);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(shape.rect(), ink);
    tint.end();
    QImage out(picture.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    for (int dy = -width; dy <= width; ++dy)
        for (int dx = -width; dx <= width; ++dx)
            if (dx * dx + dy * dy <= width * width + width) p.drawImage(dx, dy, shape);
    p.drawImage(0, 0, picture);
    return out;
}

// A picture drawn for the palette in use. A shipped picture is an SVG whose "currentColor" parts
// (its outlines and line-art) take the palette's text colour; a theme's symbolic icon, drawn in one
// dark colour, is drawn whole in that colour; a theme's full-colour icon as it is. Whatever would
// still not stand out from the palette's window colour gets an outline of the text colour.
// Pictures are kept per size and colours: a new palette gets new ones.
class PaletteIconEngine final : public QIconEngine {
public:
    enum class Kind { Shipped, Symbolic, Theme };

    static QIcon Make(Kind kind, const QIcon& themeIcon, const QString& name) {
        auto* e = new PaletteIconEngine();
        e->m_kind = kind;
        e->m_icon = themeIcon;
        e->m_name = name;
        if (kind == Kind::Shipped) {
            QFile f(name);
            if (!f.open(QIODevice::ReadOnly)) {
                delete e;
                return QIcon(name);
            }
            e->m_svg = f.readAll();
        }
        return QIcon(e);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        const QColor ink = Palette_Colour(mode, QPalette::WindowText);
        const QColor ground = Palette_Colour(QIcon::Normal, QPalette::Window);
        const QSize pixels = size * scale;
        const QString key = QStringLiteral("%1x%2/%3/%4/%5/%6")
                                .arg(pixels.width())
                                .arg(pixels.height())
                                .arg(int(mode))
                                .arg(int(state))
                                .arg(ink.rgba())
                                .arg(ground.rgba());
        if (const auto kept = m_kept.constFind(key); kept != m_kept.constEnd()) return *kept;
        QImage picture = render(pixels, state, ink);
        if (!Clearly_Visible(picture, ground)) picture = Outlined(picture, ink, std::max(1, qRound(scale)));
        if (mode == QIcon::Disabled) picture = faded(picture);
        QPixmap pm = QPixmap::fromImage(picture);
        pm.setDevicePixelRatio(scale);
        if (m_kept.size() > 32) m_kept.clear();
        m_kept.insert(key, pm);
        return pm;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {}; }
    QIconEngine* clone() const override { return new PaletteIconEngine(*this); }
    QString key() const override { return QStringLiteral("TLMainPaletteIcon"); }
    QString iconName() override { return m_name; }
    bool isNull() override { return m_kind == Kind::Shipped ? m_svg.isEmpty() : m_icon.isNull(); }

private:
    PaletteIconEngine() = default;
    PaletteIconEngine(const PaletteIconEngine&) = default;

    QImage render(const QSize& pixels, QIcon::State state, const QColor& ink) const {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        if (m_kind == Kind::Shipped) {
            QByteArray svg = m_svg;
            svg.replace("currentColor", ink.name(QColor::HexRgb).toLatin1());
            QSvgRenderer(svg).render(&p, QRectF(QPointF(0, 0), QSizeF(pixels)));
            return image;
        }
        // A theme icon smaller than asked for sits in the middle.
        const QPixmap icon = m_icon.pixmap(pixels, 1.0, QIcon::Normal, state);
        p.drawPixmap((pixels.width() - icon.width()) / 2, (pixels.height() - icon.height()) / 2, icon);
        if (m_kind == Kind::Symbolic) {
            p.setCompositionMode(QPainter::CompositionMode_SourceIn);
            p.fillRect(image.rect(), ink);
        }
        return image;
    }
    static QImage faded(const QImage& picture) {
        QImage image(picture.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setOpacity(0.5);
        p.drawImage(0, 0, picture);
        return image;
    }

    Kind m_kind = Kind::Shipped;
    QByteArray m_svg;  // a shipped picture's SVG text
    QIcon m_icon;      // a theme's icon
    QString m_name;
    QHash<QString, QPixmap> m_kept;
};

}  // namespace

QIcon Program_Icon() {
    static const QIcon icon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(kProgramIconName)));
    return icon;
}

QIcon Theme_Icon(const char* themeName, const char* fallback) {
    using Kind = PaletteIconEngine::Kind;
    if (themeName && *themeName) {
        const QString name = QString::fromLatin1(themeName);
        const QString symbolic = name + QStringLiteral("-symbolic");
        if (QIcon::hasThemeIcon(symbolic)) return PaletteIconEngine::Make(Kind::Symbolic, QIcon::fromTheme(symbolic), symbolic);
        if (QIcon::hasThemeIcon(name)) return PaletteIconEngine::Make(Kind::Theme, QIcon::fromTheme(name), name);
    }
    return PaletteIconEngine::Make(Kind::Shipped, {}, QStringLiteral(":/icons/%1.svg").arg(QLatin1String(fallback)));
}

bool Clearly_Visible(const QImage& picture, const QColor& background) {
    if (picture.isNull()) return false;
    QImage over(picture.size(), QImage::Format_RGB32);
    over.fill(background);
    QPainter(&over).drawImage(0, 0, picture);
    qsizetype standing = 0;
    for (int y = 0; y < over.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(over.constScanLine(y));
        for (int x = 0; x < over.width(); ++x)
            if (Contrast_Ratio(line[x], background.rgb()) >= 3.0) ++standing;
    }
    return standing * 10 >= qsizetype(over.width()) * over.height();
}

}  // namespace TLMainIcons
