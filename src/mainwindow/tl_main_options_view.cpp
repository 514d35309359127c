// tl_main_options_view.cpp — the main window's side of the options dialog's changes.
#include "mainwindow/tl_main_options_view.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPalette>

#include "items/item_grid_model.h"
#include "mainwindow/browser_views.h"
#include "mainwindow/item_grid_view.h"
#include "mainwindow/sounds.h"
#include "mainwindow/tl_main.h"

namespace TLMainOptionsView {

namespace {
constexpr const char* kObjectName = "OptionsView";
}

OptionsView::OptionsView(TLMain& window) : QObject(&window), m_window(window) {
    setObjectName(kObjectName);
    SetupLinks::setSetupLink<SetupLinks::MainWindowView>(this);
}

OptionsView::~OptionsView() {
    if (&SetupLinks::setupLink<SetupLinks::MainWindowView>() == this)
        SetupLinks::setSetupLink<SetupLinks::MainWindowView>(nullptr);
}

// The grid's cells without a colour of their own and the item-number box show the base colour,
// written in black or white, whichever reads on it; without a colour chosen (kDesktopColour) both
// take the desktop's colours.
void OptionsView::setGridBackColour(long colour) {
    for (QWidget* w : {static_cast<QWidget*>(m_window.ItemGrid), static_cast<QWidget*>(m_window.ItemNumBox)}) {
        if (!w) continue;
        QPalette p = w->palette();
        const TLMainItems::ColourPair c = TLMainItems::Colours_For(colour, QApplication::palette(w));
        p.setColor(QPalette::Base, c.back);
        p.setColor(QPalette::Text, c.text);
        w->setPalette(p);
    }
}

long OptionsView::columnWidth(int column) const {
    return m_window.ItemGrid ? m_window.ItemGrid->gridModel().ColWidth(column) : 0;
}

// The view follows the model's widths (hidden at 0).
void OptionsView::setColumnWidth(int column, long twips) {
    if (m_window.ItemGrid) m_window.ItemGrid->gridModel().setColWidth(column, twips);
}

void OptionsView::ResizeWindow() { m_window.ResizeWindow(); }

void OptionsView::showSoundIcon(bool soundOn) {
    if (m_window.SoundIcon) m_window.SoundIcon->setSoundOn(soundOn);
}

void OptionsView::showHelp(const std::string& section) { TLMainBrowser::Show_Help(section); }

void OptionsView::enableDialCommands(bool on) {
    for (const char* name : {"MnuSubConnect", "MnuSubHangup"})
        if (QAction* a = m_window.menuAction(name)) a->setEnabled(on);
}

OptionsView& Take_On_Options_View(TLMain& window) {
    if (auto* held = window.findChild<OptionsView*>(kObjectName, Qt::FindDirectChildrenOnly)) return *held;
    return *new OptionsView(window);
}

void Give_Back_Options_View(TLMain& window) {
    delete window.findChild<OptionsView*>(kObjectName, Qt::FindDirectChildrenOnly);
}

}  // namespace TLMainOptionsView
