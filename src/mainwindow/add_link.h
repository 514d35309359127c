// add_link.h — the AddLink dialog: a name and an address for the links or the saved searches
// (TLMainLinksMenu::AddLinkMode "Link" or "Search"). The main window stays hidden while it is
// open and comes back when it closes, however it closes.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class AddLink final : public QWidget {
    Q_OBJECT
public:
    // The one dialog, made (and loaded for the current mode) when there is none.
    static AddLink& instance();
    static AddLink* loaded();  // nullptr when not open

    // Captions by AddLinkMode: "Add New Link", "Link URL:", "Link Name:" or the search ones.
    void Form_Load();
    // OK: refuses an empty URL or name ("Missing URL or Name!"), a name the configuration cannot
    // keep ("Invalid Name!") and an address that is no http(s) or file URL ("Invalid URL!"),
    // leaving the dialog open; otherwise stores the trimmed name with the address (a name that
    // exists gets the new address), rebuilds the menu, shows the main window and unloads.
    void cmdOK_Click();
    // Cancel: shows the main window and unloads without saving.
    void cmdCancel_Click();
    // Shows the dialog above the other windows (Form_Activate).
    void Form_Activate();
    // Text dropped on the address box becomes its text; a drop without text is ignored.
    bool txtLinkURL_OLEDragDrop(const QString* droppedText);

    QLineEdit* txtLinkURL = nullptr;
    QLineEdit* txtLinkName = nullptr;
    QLabel* UrlLab = nullptr;
    QLabel* NameLab = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    AddLink();
    ~AddLink() override;
    void unload();
    bool m_unloading = false;
};
