// c_menu.h — cMenu, a popup menu built entry by entry and shown where the user clicked
// (the tray menu); TrackPopup gives back the chosen entry's ID.
#pragma once

#include <memory>
#include <string>

class QAction;
class QMenu;
class QWidget;

class cMenu {
public:
    cMenu();
    ~cMenu();
    cMenu(const cMenu&) = delete;
    cMenu& operator=(const cMenu&) = delete;

    // The text shown when this menu is added to another as a submenu.
    std::string Caption() const { return m_caption; }
    void setCaption(const std::string& caption) { m_caption = caption; }

    // Appends an entry: "-" a separator, any other text an item (Checked shows a check mark).
    // Then, whatever was appended: Default makes the entry with ID the default one, Grayed and
    // Disabled make it unavailable. BarBreak (a new column) has no look of its own here.
    void AddItem(long ID, const std::string& Caption, bool Default = false, bool Checked = false,
                 bool Disabled = false, bool Grayed = false, bool BarBreak = false);
    // Appends `Submenu` under its own Caption; the caller keeps it alive while this menu is shown.
    void AddItem(long ID, cMenu& Submenu, bool Default = false, bool Checked = false, bool Disabled = false,
                 bool Grayed = false, bool BarBreak = false);

    // Shows the menu and waits for the choice: the chosen item's ID, 0 when dismissed.
    // Position: below AlignWindow's left edge when given, else the cursor with X and Y in
    // place of its coordinates where they are not -1. Without Owner the program's first
    // top-level window owns the menu; when it has none, vb::RuntimeError -1 is raised.
    long TrackPopup(QWidget* Owner = nullptr, long X = -1, long Y = -1, QWidget* AlignWindow = nullptr);

    QMenu* hMenu_Friend() const { return m_menu.get(); }
    // The ID an entry of a cMenu was added with; 0 for a submenu entry or another menu's entry.
    static long CommandID(const QAction* entry);

private:
    void applyFlags(long ID, bool Default, bool Disabled, bool Grayed);
    std::unique_ptr<QMenu> m_menu;
    std::string m_caption;
};
