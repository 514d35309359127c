#include "mainwindow/links_searches.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <algorithm>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/vb.h"
#include "mainwindow/add_link.h"
#include "mainwindow/browser_views.h"
#include "platform/message_box.h"
#include "service/national_sites.h"

namespace TLMainLinksMenu {
namespace {

QPointer<LinksMenus> g_menus;

std::vector<std::string> sortedNames(const char* section) {
    std::vector<std::string> names = modTLC::Get_Section_Keys(section);
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return vb::StrComp(a, b, vb::Text) < 0; });
    return names;
}

// Empties a list of entries and fills it again: one entry per name, or the disabled placeholder.
void fill(std::vector<QAction*>& entries, QMenu* menu, QAction* before, const std::vector<std::string>& names,
          const char* placeholder, bool checkable, void (*click)(int)) {
    for (QAction* a : entries) {
        menu->removeAction(a);
        a->deleteLater();
    }
    entries.clear();
    auto add = [&](const QString& caption, const std::string& name) {
        auto* a = new QAction(caption, menu);
        a->setData(QString::fromStdString(name));
        a->setCheckable(checkable && !name.empty());
        const int index = static_cast<int>(entries.size());
        QObject::connect(a, &QAction::triggered, a, [click, index] { click(index); });
        if (before)
            menu->insertAction(before, a);
        else
            menu->addAction(a);
        entries.push_back(a);
        return a;
    };
    if (names.empty()) {
        add(placeholder, {})->setEnabled(false);
        return;
    }
    for (const std::string& n : names) add(QString::fromStdString(n).replace('&', "&&"), n);
}

std::string searchTitle() { return modTLC::Get_Config_Value("Locale", "SearchTitle", "eBay Search"); }

void setSearchTip(const std::string& defaultName) {
    TLMainLink::toolbar().setToolbarButtonTip(modTLMain::kSearchToolbarButton,
                                              defaultName.empty() ? searchTitle() : searchTitle() + " - " + defaultName);
}

std::string linkName(const std::vector<QAction*> LinksMenus::*list, int Index) {
    return g_menus ? Entry_Name((*g_menus).*list, Index) : std::string();
}

bool confirmDelete(const std::string& what, const std::string& name, const std::string& title) {
    const int style = platform::vbYesNo + platform::vbDefaultButton2 + platform::vbSystemModal;
    return platform::MsgBox(what + "\"" + name + "\" ?", style, title) == platform::vbYes;
}

void openAddLink(const char* mode) {
    AddLinkMode = mode;
    TLMainLink::window().setVisible(false);
    AddLink& dialog = AddLink::instance();
    dialog.Form_Load();
    dialog.Form_Activate();
}

}  // namespace

LinksMenus::LinksMenus(QWidget* window) : QObject(window) {
    Links = new QMenu("Links", window);
    m_linksEnd = Links->addSeparator();
    MnuSubAddLink = Links->addAction("Add Link");
    RemoveLinkMenu = Links->addMenu("Remove Link");
    QObject::connect(MnuSubAddLink, &QAction::triggered, this, [] { MnuSubAddLink_Click(); });

    Searches = new QMenu("Searches", window);
    MnuSubeBaySearch = Searches->addAction(QString::fromStdString(searchTitle()).replace('&', "&&"));
    Searches->addSeparator();
    m_searchesEnd = Searches->addSeparator();
    MnuSubAddSearch = Searches->addAction("Add Search");
    RemoveSearchMenu = Searches->addMenu("Remove Search");
    DefaultSearchMenu = Searches->addMenu("Default Search");
    QObject::connect(MnuSubeBaySearch, &QAction::triggered, this, [] { MnuSubeBaySearch_Click(); });
    QObject::connect(MnuSubAddSearch, &QAction::triggered, this, [] { MnuSubAddSearch_Click(); });
    g_menus = this;
}

LinksMenus::~LinksMenus() = default;

LinksMenus* LinksMenus::current() { return g_menus; }

std::string Entry_Name(const std::vector<QAction*>& entries, int Index) {
    if (Index < 0 || static_cast<size_t>(Index) >= entries.size()) return {};
    return entries[static_cast<size_t>(Index)]->data().toString().toStdString();
}

bool Valid_Entry_Name(const std::string& name) { return name.find_first_of("=[]\r\n") == std::string::npos; }

void Load_Links_Menu() {
    if (!g_menus) return;
    LinksMenus& m = *g_menus;
    const std::vector<std::string> names = sortedNames("Links");
    fill(m.MnuSubLinks, m.Links, m.m_linksEnd, names, kNoLinks, false, MnuSubLinks_Click);
    fill(m.MnuSubRemoveLink, m.RemoveLinkMenu, nullptr, names, kNoLinks, false, MnuSubRemoveLink_Click);
}

void Load_Search_Menu() {
    if (!g_menus) return;
    LinksMenus& m = *g_menus;
    const std::vector<std::string> names = sortedNames("Searches");
    fill(m.MnuSubSearches, m.Searches, m.m_searchesEnd, names, kNoSearches, false, MnuSubSearches_Click);
    fill(m.MnuSubRemoveSearch, m.RemoveSearchMenu, nullptr, names, kNoSearches, false, MnuSubRemoveSearch_Click);
    fill(m.MnuSubDefaultSearch, m.DefaultSearchMenu, nullptr, names, kNoSearches, true, MnuSubDefaultSearch_Click);
    const std::string def = modTLC::Get_Config_Value("Options", "DefaultSearch", "");
    for (QAction* a : m.MnuSubDefaultSearch) a->setChecked(!def.empty() && a->data().toString().toStdString() == def);
    setSearchTip(def);
}

void MnuSubLinks_Click(int Index) {
    const std::string name = linkName(&LinksMenus::MnuSubLinks, Index);
    if (name.empty()) return;
    TLMainBrowser::Show_Service_Page(modTLC::Get_Config_Value("Links", name, ""));
}

void MnuSubSearches_Click(int Index) {
    const std::string name = linkName(&LinksMenus::MnuSubSearches, Index);
    if (name.empty()) return;
    TLMainBrowser::Show_In_New_Browser(modTLC::Get_Config_Value("Searches", name, ""));
}

void MnuSubRemoveLink_Click(int Index) {
    const std::string name = linkName(&LinksMenus::MnuSubRemoveLink, Index);
    if (name.empty() || !confirmDelete("Delete Link ", name, "Delete Link")) return;
    modTLC::Delete_Config_Key("Links", name);
    Load_Links_Menu();
}

void MnuSubRemoveSearch_Click(int Index) {
    const std::string name = linkName(&LinksMenus::MnuSubRemoveSearch, Index);
    if (name.empty() || !confirmDelete("Delete Search ", name, "Delete Search Name")) return;
    modTLC::Delete_Config_Key("Searches", name);
    if (name == modTLC::Get_Config_Value("Options", "DefaultSearch", "")) modTLC::Set_Config_Value("Options", "DefaultSearch", "");
    Load_Search_Menu();
}

void MnuSubDefaultSearch_Click(int Index) {
    if (!g_menus) return;
    const std::string name = linkName(&LinksMenus::MnuSubDefaultSearch, Index);
    if (name.empty()) return;
    for (QAction* a : g_menus->MnuSubDefaultSearch) a->setChecked(false);
    if (name != modTLC::Get_Config_Value("Options", "DefaultSearch", "")) {
        g_menus->MnuSubDefaultSearch[static_cast<size_t>(Index)]->setChecked(true);
        modTLC::Set_Config_Value("Options", "DefaultSearch", name);
        setSearchTip(name);
    } else {
        modTLC::Set_Config_Value("Options", "DefaultSearch", "");
        setSearchTip({});
    }
}

void MnuSubeBaySearch_Click() {
    const std::string searchPage = modTLC::Get_Config_Value("Locale", "SearchURL", kServiceHomePage);
    if (TLMainBrowser::Alt_Browser_On()) {
        TLMainBrowser::Show_Service_Page(searchPage);
        return;
    }
    const std::string def = modTLC::Get_Config_Value("Options", "DefaultSearch", "");
    const std::string url = def.empty() ? searchPage : modTLC::Get_Config_Value("Searches", def, kServiceHomePage);
    TLMainBrowser::Show_In_New_Browser(url);
}

void MnuSubAddLink_Click() { openAddLink("Link"); }
void MnuSubAddSearch_Click() { openAddLink("Search"); }

}  // namespace TLMainLinksMenu
