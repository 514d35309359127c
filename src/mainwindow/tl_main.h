// tl_main.h — the main window: status line, heartbeat, and the unload that ends the program.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>

#include "foundation/main_window_link.h"
#include "platform/timers.h"

class QLabel;
class QPlainTextEdit;

class TLMain final : public QMainWindow, public MainWindowLink {
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

    // MainWindowLink
    void setStatus(const std::string& text) override;
    std::string statusText() const override;
    std::string itemNumberText() const override { return m_itemNumber; }
    void setItemNumberText(const std::string& text) override { m_itemNumber = text; }
    void showLogBox(const std::string& text) override;
    void hideLogBox() override;
    bool menuChecked(const std::string& name) const override;
    void setMenuChecked(const std::string& name, bool on) override;
    bool exists() const override { return true; }
    void showAndRaise() override;
    bool isVisible() const override { return QMainWindow::isVisible(); }
    void setVisible(bool on) override { QMainWindow::setVisible(on); }

    platform::Timer DisplayTime;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QLabel* MsgLab = nullptr;
    QPlainTextEdit* OpLog = nullptr;
    std::string m_itemNumber;
    std::map<std::string, bool> m_checked;
    bool m_unloaded = false;
};
