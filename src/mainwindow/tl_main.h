// tl_main.h — the main window: status line, heartbeat, the load that sets what the lower parts
// read, and the unload that ends the program.
#pragma once

#include <QMainWindow>
#include <map>
#include <string>

#include "foundation/main_window_link.h"
#include "mainwindow/sounds.h"
#include "platform/timers.h"

class QLabel;
class QPlainTextEdit;
namespace TLMainLinksMenu { class LinksMenus; }

class TLMain final : public QMainWindow,
                     public TLMainLink::StatusLine,
                     public TLMainLink::ItemNumberBox,
                     public TLMainLink::LogBox,
                     public TLMainLink::Menus,
                     public TLMainLink::Window,
                     public TLMainLink::Toolbar,
                     public TLMainLink::TrayAndWheel,
                     public TLMainLink::Sounds {
    Q_OBJECT
public:
    TLMain();
    ~TLMain() override;

    // The one main window of the process (created on first use).
    static TLMain& instance();
    static bool loaded();
    static void unloadForTests();

    void Form_Load();
    void Form_Unload();
    void DisplayTime_Timer();  // the one-second heartbeat
    void showAndRaise();       // a second start brings this window to the front

    // StatusLine
    void setStatus(const std::string& text) override;
    std::string statusText() const override;
    // ItemNumberBox
    std::string itemNumberText() const override { return m_itemNumber; }
    void setItemNumberText(const std::string& text) override { m_itemNumber = text; }
    // LogBox
    void showLogBox(const std::string& text) override;
    void hideLogBox() override;
    // Menus
    bool menuChecked(TLMainLink::MenuItem item) const override;
    void setMenuChecked(TLMainLink::MenuItem item, bool on) override { m_checked[item] = on; }
    void setMenuVisible(TLMainLink::MenuItem item, bool on) override { m_menuVisible[item] = on; }
    bool menuVisible(TLMainLink::MenuItem item) const;
    // Window
    QWidget* widget() override { return this; }
    void setWindowState(int state) override;
    void setVisible(bool on) override { QMainWindow::setVisible(on); }
    // Toolbar: the tips wait here for the toolbar.
    void setToolbarButtonTip(int button, const std::string& text) override { m_toolbarTips[button] = text; }
    // TrayAndWheel: the tray menu and the grid are not part of this window yet.
    void AddLinkMenu() override {}
    void MouseWheel(long, long, long, long) override {}
    std::string wakeUpTipText() const override { return {}; }
    // Sounds: the wave files of the Sounds folder.
    void SoundEffects(const std::string& name, int repeat) override { TLMainSounds::SoundEffects(name, repeat); }

    platform::Timer DisplayTime;

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Form_Resize();

    QLabel* MsgLab = nullptr;
    QPlainTextEdit* OpLog = nullptr;
    ::SoundIcon* SoundIcon = nullptr;
    TLMainLinksMenu::LinksMenus* LinksMenus = nullptr;  // the "Links" and "Searches" menus
    std::string m_itemNumber;
    std::map<TLMainLink::MenuItem, bool> m_checked;
    std::map<TLMainLink::MenuItem, bool> m_menuVisible;
    std::map<int, std::string> m_toolbarTips;
    bool m_unloaded = false;
};
