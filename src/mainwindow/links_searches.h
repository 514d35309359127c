// links_searches.h — the user's links and saved searches: two named lists of web addresses kept
// in the configuration sections [Links] and [Searches] (name = address), shown as the main
// window's "Links" and "Searches" menus.
//
// Links: open one (the program's browser window, or the alternate browser), add one (the AddLink
// dialog), remove one. Searches: the same, a saved search opening in a new browser window, plus
// the default search ([Options] DefaultSearch) that the search command and the toolbar's search
// button open. An empty list shows one disabled entry, "No Links Setup" or "No Searches Setup".
#pragma once

#include <QObject>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace TLMainLinksMenu {

inline constexpr const char* kNoLinks = "No Links Setup";
inline constexpr const char* kNoSearches = "No Searches Setup";
// [Locale] SearchURL when the national site wrote none: the service's home page.
inline constexpr const char* kServiceHomePage = "http://www.ebay.com/";

// Which list the AddLink dialog adds to: "Link" or "Search".
inline std::string AddLinkMode = "Link";

// The two menus and their entries. Each list of entries holds the entries in menu order (the
// disabled placeholder when the list is empty); an entry's name is its QAction's data.
class LinksMenus final : public QObject {
    Q_OBJECT
public:
    // Makes the "Links" and "Searches" menus for the window; the window adds them to its menu bar.
    // The latest made are the ones the procedures below fill.
    explicit LinksMenus(QWidget* window);
    ~LinksMenus() override;
    static LinksMenus* current();

    QMenu* Links = nullptr;
    QMenu* Searches = nullptr;
    QMenu* RemoveLinkMenu = nullptr;
    QMenu* RemoveSearchMenu = nullptr;
    QMenu* DefaultSearchMenu = nullptr;
    QAction* MnuSubeBaySearch = nullptr;
    QAction* MnuSubAddLink = nullptr;
    QAction* MnuSubAddSearch = nullptr;

    std::vector<QAction*> MnuSubLinks, MnuSubRemoveLink;
    std::vector<QAction*> MnuSubSearches, MnuSubRemoveSearch, MnuSubDefaultSearch;

private:
    QAction* m_linksEnd = nullptr;     // the separator after the links
    QAction* m_searchesEnd = nullptr;  // the separator after the saved searches
    friend void Load_Links_Menu();
    friend void Load_Search_Menu();
};

// The entry's name ("" for a placeholder or an index outside the list).
std::string Entry_Name(const std::vector<QAction*>& entries, int Index);

// Rebuild the menus from the configuration, names sorted without regard to case. The search menu
// also ticks the default search and gives the toolbar's search button its tip
// ([Locale] SearchTitle, and " - " and the default's name when one is set).
void Load_Links_Menu();
void Load_Search_Menu();

// Menu handlers, by the entry's index in its list.
void MnuSubLinks_Click(int Index);         // opens the link in the program's browser window
void MnuSubSearches_Click(int Index);      // opens the search in a new browser window
void MnuSubRemoveLink_Click(int Index);    // asks, then removes the link
void MnuSubRemoveSearch_Click(int Index);  // asks, then removes the search (and the default)
void MnuSubDefaultSearch_Click(int Index); // makes the search the default; the default again: none
// The search command: the alternate browser gets [Locale] SearchURL; otherwise a new browser
// window opens the default search, or [Locale] SearchURL when none is set.
void MnuSubeBaySearch_Click();
// Hide the main window and open the AddLink dialog for a link or a search.
void MnuSubAddLink_Click();
void MnuSubAddSearch_Click();

// A name the configuration can keep as a key: no "=", "[", "]" or line break.
bool Valid_Entry_Name(const std::string& name);

}  // namespace TLMainLinksMenu
