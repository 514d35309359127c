// tl_main_options_view.h — the main window as the options dialog changes it: the back colour of
// the item grid and the item-number box, the grid's column widths (twips), the layout, the
// status bar's sound icon and the File menu's Connect and Hangup.
//
// The main window's load takes the duty on (Take_On_Options_View) and its unload gives it back;
// the object is a child of the window, so it also goes, and gives the duty back, with the window.
#pragma once

#include <QObject>

#include "options/setup_links.h"

class TLMain;

namespace TLMainOptionsView {

class OptionsView final : public QObject, public SetupLinks::MainWindowView {
    Q_OBJECT
public:
    explicit OptionsView(TLMain& window);
    ~OptionsView() override;

    void setGridBackColour(long colour) override;
    long columnWidth(int column) const override;
    void setColumnWidth(int column, long twips) override;
    void ResizeWindow() override;
    void showSoundIcon(bool soundOn) override;
    void showHelp(const std::string& section) override;
    void enableDialCommands(bool on) override;

private:
    TLMain& m_window;
};

// The window takes on what the options dialog changes of it (once; a second call keeps the first).
OptionsView& Take_On_Options_View(TLMain& window);
// The window gives the duty back (its unload).
void Give_Back_Options_View(TLMain& window);

}  // namespace TLMainOptionsView
