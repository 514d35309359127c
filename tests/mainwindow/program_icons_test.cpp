// The pictures of the toolbar, the menus and the tray icon stand out on a dark palette as on a
// light one: the program's own pictures, and those of a desktop theme that has a job's icon only in
// a dark one-colour (symbolic) form or only in a light full-colour one.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QTemporaryDir>

#include "mainwindow/program_icons.h"
#include "tl_main_fixture.h"

using namespace testsupport;

namespace {

class ProgramIcons : public TLMainTest {
protected:
    void TearDown() override {
        QApplication::setPalette(m_palette);
        QIcon::setThemeSearchPaths(m_searchPaths);
        QIcon::setThemeName(m_theme);
        TLMainTest::TearDown();
    }
    // A desktop theme "Test" in `folder` with the clock's icon only as a dark symbolic picture and
    // the user's only as a white full-colour one.
    static void writeTheme(const QString& folder) {
        const auto write = [&folder](const QString& name, const QByteArray& text) {
            QDir().mkpath(QFileInfo(folder + "/" + name).absolutePath());
            QFile f(folder + "/" + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        write("Test/index.theme",
              "[Icon Theme]\nName=Test\nDirectories=scalable\n\n[scalable]\nSize=24\nMinSize=8\nMaxSize=512\nType=Scalable\n");
        write("Test/scalable/preferences-system-time-symbolic.svg",
              "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'><circle cx='8' cy='8' r='6.5' "
              "fill='none' stroke='#2e3436' stroke-width='2'/><path d='M8 4v4h3' fill='none' stroke='#2e3436' stroke-width='2'/></svg>");
        write("Test/scalable/avatar-default.svg",
              "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'><circle cx='8' cy='5' r='3.5' fill='#fafafa'/>"
              "<path d='M1 16c0-4 3-6.5 7-6.5s7 2.5 7 6.5z' fill='#f0f0f0'/></svg>");
    }
    static QPalette palette(const char* window, const char* text) {
        QPalette p;
        p.setColor(QPalette::Window, QColor(window));
        p.setColor(QPalette::Button, QColor(window));
        p.setColor(QPalette::WindowText, QColor(text));
        p.setColor(QPalette::ButtonText, QColor(text));
        return p;
    }

    const QPalette m_palette = QApplication::palette();
    const QStringList m_searchPaths = QIcon::themeSearchPaths();
    const QString m_theme = QIcon::themeName();
};

TEST_F(ProgramIcons, EveryToolbarMenuAndTrayPictureStandsOutOnDarkAndLightPalettes) {
    QTemporaryDir themes;
    ASSERT_TRUE(themes.isValid());
    writeTheme(themes.path());
    struct Palette { const char* name; QPalette palette; };
    const Palette palettes[] = {{"dark", palette("#323232", "#f0f0f0")}, {"light", palette("#efefef", "#000000")}};
    for (const char* theme : {"", "Test"}) {
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName(QString::fromLatin1(theme));
        TLMain& w = loadQuiet({{"Options", "ClosetoTray", "1"}});
        std::vector<std::pair<std::string, QIcon>> pictures;
        for (QAction* a : w.findChildren<QAction*>())
            if (!a->icon().isNull()) pictures.emplace_back((a->toolTip().isEmpty() ? a->text() : a->toolTip()).toStdString(), a->icon());
        ASSERT_TRUE(tray.shown);
        pictures.emplace_back("the tray icon", tray.icon);
        ASSERT_GE(pictures.size(), 13u) << "the twelve toolbar buttons and the tray icon";
        for (const Palette& p : palettes) {
            QApplication::setPalette(p.palette);
            for (const auto& [name, icon] : pictures)
                EXPECT_TRUE(TLMainIcons::Clearly_Visible(icon.pixmap(24, 24).toImage(), p.palette.color(QPalette::Window)))
                    << name << " on the " << p.name << " palette, theme \"" << theme << "\"";
        }
        TLMain::unloadForTests();
    }
}

}  // namespace
