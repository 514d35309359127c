#include "mainwindow/browser_views.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <utility>
#include <vector>

#include "browser/automation_browser.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/remaining_time.h"
#include "platform/desktop_files.h"
#include "platform/message_box.h"
#include "platform/timers.h"
#include "service/national_sites.h"

namespace TLMainBrowser {
namespace {

class ProgramOpeners final : public BrowserOpeners {
public:
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override {
        QStringList args;
        for (const std::string& a : arguments) args << QString::fromStdString(a);
        return QProcess::startDetached(QString::fromStdString(program), args);
    }
    void navigate(const std::string& url) override { modTLMain::Browser_Navigate(url); }
    void navigateNewWindow(const std::string& url) override {
        modTLMain::IEBrowser = modTLMain::CreateNewBrowser();
        modTLMain::Position_Browser();
        if (modTLMain::IEBrowser) modTLMain::IEBrowser->Navigate2(url);
    }
    void navigateAccountPage(const std::string& url) override { modTLMain::Open_Browser_Sign_In_Page(url); }
};

BrowserOpeners* g_override = nullptr;

void status(const std::string& text) { TLMainLink::statusLine().setStatus(text); }

bool busy() { return TLMainState::DownloadBusy || TLMainState::UpdateBusy; }

// The alternate browser's program and its own arguments from [Options] AltBrowserPath.
bool altBrowserProgram(std::string& program, std::vector<std::string>& arguments) {
    QString text = QString::fromStdString(modTLC::Get_Config_Value("Options", "AltBrowserPath", "")).trimmed();
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"') && text.count('"') == 2)
        text = text.mid(1, text.size() - 2);
    if (text.isEmpty()) return false;
    if (QFileInfo(text).isFile() || !QStandardPaths::findExecutable(text).isEmpty()) {
        program = text.toStdString();
        return true;
    }
    const QStringList words = QProcess::splitCommand(text);
    if (words.isEmpty()) return false;
    program = words.front().toStdString();
    for (qsizetype i = 1; i < words.size(); ++i) arguments.push_back(words[i].toStdString());
    return true;
}

// The saved page of an item: Saved Items/<number><suffix>; "" for a number that could name a
// file elsewhere.
std::string savedPagePath(const std::string& number, const char* suffix) {
    if (number.empty() || number == "." || number == ".." ||
        number.find_first_of("/\\") != std::string::npos || number.find('\0') != std::string::npos)
        return {};
    return modTLMain::DataFolder + kSavedItemsFolder + number + suffix;
}

bool fileOpens(const std::string& path) {
    if (path.empty()) return false;
    QFile f(QString::fromStdString(path));
    return QFileInfo(f).isFile() && f.open(QIODevice::ReadOnly);
}

void showSavedPage(const char* suffix, const char* notFound) {
    if (busy()) {
        status(kBusy);
        return;
    }
    const std::string number = TLMainLink::itemNumberBox().itemNumberText();
    if (number.empty()) return;
    const std::string path = savedPagePath(number, suffix);
    if (!fileOpens(path)) {
        status(notFound);
        return;
    }
    Show_Local_Page(path);
}

std::string feedbackPage(const char* script, const std::string& userId) {
    return std::string(kFeedbackHost) + script + "?ViewFeedback&userid=" + Query_Value(userId);
}

// A web page: refused unless it is an http(s) or file URL; the alternate browser, else the
// program's browser by the given road.
void showWebPage(const std::string& address, void (BrowserOpeners::*road)(const std::string&)) {
    const std::string url = Browser_Address(address);
    if (url.empty()) {
        status(kInvalidAddress);
        return;
    }
    if (Alt_Browser_On())
        Run_Alt_Browser(url);
    else
        (openers().*road)(url);
}

}  // namespace

BrowserOpeners& openers() {
    static ProgramOpeners real;
    return g_override ? *g_override : real;
}

void setOpenersForTests(BrowserOpeners* o) { g_override = o; }

std::string Browser_Address(const std::string& address) {
    const QUrl url(QString::fromStdString(address).trimmed(), QUrl::TolerantMode);
    if (!url.isValid()) return {};
    const QString scheme = url.scheme().toLower();
    if (scheme == "http" || scheme == "https") {
        if (url.host().isEmpty()) return {};
    } else if (scheme != "file") {
        return {};
    }
    return url.toString(QUrl::FullyEncoded).toStdString();
}

std::string Query_Value(const std::string& value) {
    return QUrl::toPercentEncoding(QString::fromStdString(value)).toStdString();
}

std::string Local_Page_Address(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded).toStdString();
}

bool Alt_Browser_On() { return vb::Val(modTLC::Get_Config_Value("Options", "AltBrowser", "0")) == 1; }

bool Run_Alt_Browser(const std::string& address) {
    std::string program;
    std::vector<std::string> arguments;
    const bool named = altBrowserProgram(program, arguments);
    AltBrowserCommand = modTLC::Get_Config_Value("Options", "AltBrowserPath", "") + " " + address;
    arguments.push_back(address);
    if (!named || !openers().startProgram(program, arguments)) {
        status(kAltBrowserFailed);
        return false;
    }
    return true;
}

void Show_Service_Page(const std::string& address) { showWebPage(address, &BrowserOpeners::navigate); }

void Show_In_New_Browser(const std::string& address) { showWebPage(address, &BrowserOpeners::navigateNewWindow); }

void Show_Account_Page(const std::string& address) { showWebPage(address, &BrowserOpeners::navigateAccountPage); }

void Show_Local_Page(const std::string& path) {
    const std::string url = Local_Page_Address(path);
    if (Alt_Browser_On())
        Run_Alt_Browser(url);
    else
        openers().navigate(url);
}

void ViewEbayItem() {
    const std::string base = modTLC::Get_Config_Value("Locale", "CGI", modTLMain::Site_Item_Page_Base(0));
    Show_Service_Page(base + "ws/eBayISAPI.dll?ViewItem&item=" +
                      Query_Value(vb::Trim(TLMainLink::itemNumberBox().itemNumberText())));
}

std::string Seller_ID(const std::string& sellerText) {
    const size_t bracket = sellerText.find('(');
    if (bracket == std::string::npos) return {};
    return vb::Trim(sellerText.substr(0, bracket));
}

void View_Sellers_Feedback(const TLMainItems::AuctionItem* item) {
    if (!item) return;
    // The alternate browser and the program's browser have always been sent to different scripts.
    const char* script = Alt_Browser_On() ? "/ws/eBayISAPI.dll" : "/ws1/eBayISAPI.dll";
    Show_Service_Page(feedbackPage(script, Seller_ID(item->Seller)));
}

void View_High_Bidders_Feedback(const TLMainItems::AuctionItem* item) {
    if (!item) return;
    const std::string& bidder = item->HighBidder;
    if (bidder == "Buy It Now Auction" || bidder == "No Bids Yet" || bidder == "Dutch Auction") return;
    Show_Service_Page(feedbackPage("/ws/eBayISAPI.dll", bidder));
}

void MnuTitleMyFeedback_Click() { Show_Service_Page(feedbackPage("/ws/eBayISAPI.dll", UserState::CurrentUserID)); }

std::string Help_Missing_Text(const std::string& path) {
    return "The help page is missing. It should be the file\r\n\r\n" + path +
           "\r\n\r\nInstall the program again (./run.sh) to put it back.";
}

void Show_Help(const std::string& section) {
    const std::string path = modTLMain::DataFolder + kHelpPage;
    if (!QFileInfo(QString::fromStdString(path)).isFile()) {
        platform::MsgBox(Help_Missing_Text(path), platform::vbExclamation);
        return;
    }
    std::string url = Local_Page_Address(path);
    if (!section.empty()) url += "#" + Query_Value(section);
    if (Alt_Browser_On())
        Run_Alt_Browser(url);
    else
        openers().navigate(url);
}

void MnuTitleHelp_Click() { Show_Help(); }

void MnuTitleShowItem_Click() { showSavedPage(".html", kNoItemFound); }

void MnuSubPopupBidResults_Click() { showSavedPage("BR.html", kNoBidResultsFound); }

void DisplayBidResults(const std::string& ItemNumber) {
    const std::string path = savedPagePath(ItemNumber, "BR.html");
    if (!path.empty()) Show_Local_Page(path);
}

void MnuTitleShowArchived_Click() {
    if (busy()) {
        status(kBusy);
        return;
    }
    const std::string chosen = platform::desktopFiles().chooseFileToOpen(
        modTLMain::DataFolder + kSavedItemsFolder, "Web Page (*.html)|*.html|All Files (*.*)|*.*");
    if (chosen.empty()) return;
    openers().navigate(Local_Page_Address(chosen));
}

namespace {

// An armed bid is to be placed within this many seconds: the browser window, whose engine can
// hold the user-interface thread for a moment while it starts, waits until the bid has gone.
constexpr long kQuietBeforeBidSecs = 10;

bool Bid_Due_Soon() {
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const TLMainItems::AuctionItem* item = TLMainItems::Item_At(i);
        if (!item || item->BidTimeSecs <= 0) continue;
        TLMainItems::Get_Remaining_Secs(i);
        if (!TLMainItems::RemainingKnown) continue;
        const long toBid = TLMainItems::RemainingSecs - item->BidTimeSecs;
        if (toBid >= -1 && toBid <= kQuietBeforeBidSecs) return true;
    }
    return false;
}

// The result pages waiting for a quiet moment, by item number, shown in the order they came.
std::vector<std::string>& waitingResultPages() {
    static std::vector<std::string> waiting;
    return waiting;
}

platform::Timer& resultPageTimer() {
    static platform::Timer timer([] {
        if (Bid_Due_Soon()) {
            resultPageTimer().setInterval(1000);  // looked at again each second
            return;
        }
        resultPageTimer().setEnabled(false);
        const std::vector<std::string> numbers = std::exchange(waitingResultPages(), {});
        for (const std::string& number : numbers) TLMainBrowser::DisplayBidResults(number);
    });
    return timer;
}

}  // namespace

void BidResultsViewer::DisplayBidResults(int itemIndex) {
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(itemIndex);
    if (!item) return;
    // The bid's own step ends first: the page opens on a later turn of the event loop, and not
    // while another bid is about to be placed.
    waitingResultPages().push_back(item->ItemNumber);
    platform::Timer& timer = resultPageTimer();
    timer.setInterval(Bid_Due_Soon() ? 1000 : 1);
    timer.setEnabled(true);
}

void Take_Bid_Results_View() {
    static BidResultsViewer viewer;
    TLMainBids::setBidLink<TLMainBids::BidResultsView>(&viewer);
}

void ResetForTests() { AltBrowserCommand.clear(); }

}  // namespace TLMainBrowser
