// bid_form.h — the bid set-up dialog (form BidForm): the user arms a bid on one auction item, or
// on several at once — maximum amount, quantity, seconds before the end, automatic dial, result
// e-mail, sleep after the bid, and the item's bid group.
//
// The dialog is modeless and made anew at each opening. It holds the numbers of the items it was
// opened for (one or several) and of the item it shows, and finds them again in the list
// whenever it uses them; while it is open the main window is disabled. Its commands (Set Bid,
// Cancel Bid, Bid Now, Validate, Refresh Item, Clear) are in bid_commands.cpp.
#pragma once

#include <QDialog>
#include <QPointer>
#include <string>
#include <vector>

#include "items/auction_item.h"

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace TLMainBids {

// The refresh of the selected items from their pages (the item list's Update_Selected_Item),
// which the dialog runs before it shows an item when [Options] UpdateBidSetup is "1", and on
// Refresh Item. It returns when the refresh is done.
class ItemRefresh {
public:
    virtual ~ItemRefresh() = default;
    virtual void Update_Selected_Item(const std::vector<std::string>& itemNumbers) {}
};

}  // namespace TLMainBids

class BidForm final : public QDialog {
public:
    // Opens the dialog for the item list's grid rows firstRow to lastRow, showing the item of
    // `selectedRow` — or, when the item list has just added an item for a bid (AddedItemNumber),
    // for that item alone (AddedItemNumber is then emptied). A dialog still open is closed first.
    // Returns nullptr when the dialog closed at once because its item is not in the list
    // ("Item Not Found In List").
    static BidForm* Show_Bid_Form(int firstRow, int lastRow, int selectedRow);
    // The same for items named by number; `dialogItem` is the one shown.
    static BidForm* Show_Bid_Form(const std::vector<std::string>& itemNumbers, const std::string& dialogItem);
    // The dialog while it is open, else nullptr.
    static BidForm* Current();

    ~BidForm() override;

    // The items the dialog arms, by number, and the one it shows.
    const std::vector<std::string>& itemNumbers() const { return m_items; }
    const std::string& dialogItem() const { return m_dialogItem; }
    // The index of the shown item in the list now (0 when it is gone).
    int dialogIndex() const;
    bool multipleItems() const { return m_items.size() > 1; }

    // Public procedures.
    void DisplayBidTime(long seconds);
    // Validates the shown item with the service now; false when a check refused it (nothing started).
    bool ValidateBid();

    // Event procedures.
    void Form_Activate();
    void Exit_Click();
    void labMinBid_Click();
    void WTGroups_Click();
    void MaxBidAmt_DblClick();
    void OKBid_Click();      // "Set Bid", also Enter in the amount box
    void CancelBid_Click();  // "Cancel Bid"
    void ManBid_Click();     // "Bid Now"
    void cmdRefresh_Click(); // "Refresh Item"
    void cmdClrGrp_Click();  // "Clear" of the group frame

    long BidMinutes = 0;
    long BidSeconds = 0;

    // Controls.
    QLabel* labItemName = nullptr;
    QLabel* labHiBid[3] = {};
    QLabel* labEndTime[2] = {};
    QLabel* labEndDate = nullptr;
    QLabel* labBids[2] = {};
    QLabel* labShipping[2] = {};
    QLabel* labSeller[2] = {};
    QLabel* labMinBid = nullptr;
    QLabel* labMaxBidAmt = nullptr;
    QLineEdit* MaxBidAmt = nullptr;
    QLineEdit* ItemQtyBox = nullptr;
    QLineEdit* txtBidTimeMin = nullptr;
    QLineEdit* txtBidTimeSec = nullptr;
    QCheckBox* AutoDial = nullptr;
    QCheckBox* chkEmailOpt = nullptr;
    QCheckBox* chkShutDnOpt = nullptr;
    QComboBox* WTGroups = nullptr;
    QComboBox* WTReqWins = nullptr;
    QLineEdit* txtItemsWon = nullptr;
    QComboBox* WTCtrlGroups = nullptr;
    QPushButton* cmdClrGrp = nullptr;
    QPushButton* OKBid = nullptr;
    QPushButton* ManBid = nullptr;
    QPushButton* CancelBid = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* Exit = nullptr;
    QLabel* ItemPixResize = nullptr;
    QLabel* labUD = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* e) override;

private:
    const TLMainItems::AuctionItem* itemFreeForRequest();
    BidForm(std::vector<std::string> itemNumbers, std::string dialogItem);
    bool Form_Load();  // false: the shown item is not in the list
    void Show_Item_Facts();
    void Clear_Item_Facts();
    void Load_Photo();
    void Fill_Groups();
    void Form_Unload();

    std::vector<std::string> m_items;
    std::string m_dialogItem;
    QWidget* m_content = nullptr;       // the fields above the buttons (they scroll when space is short)
    QHBoxLayout* m_buttons = nullptr;
    bool m_unloaded = false;
};
