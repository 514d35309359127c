#include "mainwindow/tl_main_links.h"

#include "bidding/alarm_form.h"
#include "bidding/bid_engine_links.h"
#include "bidding/bid_form.h"
#include "items/add_item.h"
#include "items/item_window_links.h"
#include "items/update_item.h"
#include "items/update_items.h"
#include "mainwindow/browser_views.h"

namespace TLMainWindowLinks {
namespace {

// The scheduler's deferred requests: the add of the item in the item-number box, the refresh.
class Deferred final : public TLMainBids::DeferredOperations {
public:
    void Add_Auction_Item() override { TLMainItems::Add_Auction_Item(); }
    void UpdateItems() override { TLMainItems::UpdateItems(); }
};

// The bid set-up dialog refreshes the items it was opened for, by their numbers.
class Refresh final : public TLMainBids::ItemRefresh {
public:
    void Update_Selected_Item(const std::vector<std::string>& numbers) override {
        TLMainItems::Update_Items_By_Number(numbers);
    }
};

class AlarmDialog final : public TLMainItems::AlarmDialog {
public:
    explicit AlarmDialog(QWidget* parent) : m_parent(parent) {}
    void showAlarmDialog() override { Alarm::Show_Alarm_Dialog(m_parent); }

private:
    QWidget* m_parent;
};

class Views final : public TLMainItems::BrowserViews {
public:
    void ViewEbayItem() override { TLMainBrowser::ViewEbayItem(); }
    void MnuSubPopupBidResults_Click() override { TLMainBrowser::MnuSubPopupBidResults_Click(); }
    // Feedback pages are pages of the user's account: opened as the account views open theirs.
    void openServicePage(const std::string& address) override { TLMainBrowser::Show_Account_Page(address); }
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        return TLMainBrowser::openers().startProgram(program, arguments);
    }
};

class Held final : public Links {
public:
    explicit Held(QWidget* window) : m_alarm(window) {
        TLMainBids::setBidLink<TLMainBids::DeferredOperations>(&m_deferred);
        TLMainBids::setBidLink<TLMainBids::ItemRefresh>(&m_refresh);
        TLMainItems::setItemLink<TLMainItems::AlarmDialog>(&m_alarm);
        TLMainItems::setItemLink<TLMainItems::BrowserViews>(&m_views);
    }
    ~Held() override {
        if (&TLMainBids::bidLink<TLMainBids::DeferredOperations>() == &m_deferred)
            TLMainBids::setBidLink<TLMainBids::DeferredOperations>(nullptr);
        if (&TLMainBids::bidLink<TLMainBids::ItemRefresh>() == &m_refresh)
            TLMainBids::setBidLink<TLMainBids::ItemRefresh>(nullptr);
        if (&TLMainItems::itemLink<TLMainItems::AlarmDialog>() == &m_alarm)
            TLMainItems::setItemLink<TLMainItems::AlarmDialog>(nullptr);
        if (&TLMainItems::itemLink<TLMainItems::BrowserViews>() == &m_views)
            TLMainItems::setItemLink<TLMainItems::BrowserViews>(nullptr);
    }

private:
    Deferred m_deferred;
    Refresh m_refresh;
    AlarmDialog m_alarm;
    Views m_views;
};

}  // namespace

std::unique_ptr<Links> Take_On_Links(QWidget* window) { return std::make_unique<Held>(window); }

}  // namespace TLMainWindowLinks
