#include "bidding/bid_email.h"

#include <QString>

#include "bidding/bid_engine_links.h"
#include "foundation/config_store.h"
#include "foundation/logs.h"
#include "foundation/message_dialog.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "items/bid_outcome.h"
#include "items/bid_status.h"
#include "items/item_store.h"
#include "platform/message_box.h"
#include "platform/timers.h"

namespace modTLMain {

namespace {

using vb::vbCrLf;

constexpr const char* kRemote = "Remote";

std::string remote(const std::string& key, const char* def = "") { return modTLC::Get_Config_Value(kRemote, key, def); }

}  // namespace

bool Email_Slot_On(int n) { return vb::Val(remote("EmailEn" + std::to_string(n), "0")) == 1; }
std::string Email_Slot_Address(int n) { return remote("Email" + std::to_string(n)); }

modMail::SmtpAccount Email_Account() {
    modMail::SmtpAccount a;
    a.server = vb::Trim(remote("ActSMTPServer"));
    const std::string port = vb::Trim(remote("ActSMTPPort", "465"));
    a.port = vb::IsNumeric(port) ? vb::CLng(port) : 0;
    a.useSsl = TLMainItems::Config_True(kRemote, "AuthReq", true);
    a.userName = remote("ActName");
    a.password = remote("ActPass");
    return a;
}

bool Usable_Email_Address(const std::string& address) {
    return !vb::Trim(address).empty() && address.find('@') != std::string::npos &&
           address.find_first_of("\r\n") == std::string::npos;
}

std::shared_ptr<modMail::MailSend> Start_Send_Email(const std::string& address, const std::string& subject,
                                                    const std::string& body,
                                                    std::function<void(const modMail::MailResult&)> done) {
    const modMail::SmtpAccount account = Email_Account();
    return modMail::Start_Mail_Send(account, {account.userName, vb::Trim(address), subject, body}, std::move(done));
}

modMail::MailResult Send_Email(const std::string& address, const std::string& subject, const std::string& body) {
    const modMail::SmtpAccount account = Email_Account();
    return modMail::Send_Mail_Wait(account, {account.userName, vb::Trim(address), subject, body});
}

bool Email_Settings_OK() {
    bool slotFound = false;
    for (int n = 0; n < kEmailSlots && !slotFound; ++n) slotFound = Email_Slot_On(n) && Usable_Email_Address(Email_Slot_Address(n));
    return slotFound && !remote("ActSMTPServer").empty() && !remote("ActName").empty() &&
           !remote("ActPass").empty() && !remote("ActSMTPPort", "25").empty();
}

// The options page's test mail: the user asked for it and waits for its answer, so it sends one
// message after another (3 s apart) in a yielding wait. Bid results never come here: they go
// through the queue and Start_Send_Email.
void Test_Email() {
    if (remote("ActName").empty()) {
        platform::MsgBox("No User Email Account Name Found!", platform::vbSystemModal);
        return;
    }
    const std::string text = std::string("This test will check your outgoing email server settings. ") + vbCrLf +
                             "A example of the bid results notification will be used in this test. " + vbCrLf +
                             "If the test proceeds without errors, check your email " + vbCrLf +
                             "for this account to review the bid results examples." + vbCrLf;
    Messages::MsgReply = Messages::DisplayMsg(text, 12, true, 0, "OK", "Cancel", "", false, false, "", "",
                                              "Test eMail", 0, "", "", "");
    if (Messages::MsgReply != "MsgBtn1") return;  // Cancel, or the window closed

    const std::string sample = std::string(vbCrLf) + "#123456789012" + vbCrLf + "HiBid:" + "US 123.45" + vbCrLf +
                               "UBid:" + "127.00" + vbCrLf + "You Won" + vbCrLf + "eBay Auction Title Displayed Here";
    std::string failure;
    bool tried = false;
    for (int n = 0; n < kEmailSlots; ++n) {
        if (!Email_Slot_On(n)) continue;
        const std::string address = Email_Slot_Address(n);
        if (!Usable_Email_Address(address)) {
            if (failure.empty()) failure = "Invalid Email Address In Slot " + std::to_string(n + 1);
            continue;
        }
        if (tried) Wait_Seconds(3);
        tried = true;
        const modMail::MailResult r = Send_Email(address, kBidResultsSubject, sample);
        if (!r.sent() && failure.empty()) failure = r.error;
    }
    if (!tried && failure.empty()) failure = "No Email Address Enabled";
    if (failure.empty())
        platform::MsgBox("Test Email Sent....", platform::vbSystemModal);
    else
        platform::MsgBox("Test Email Failed - " + failure, platform::vbSystemModal + platform::vbExclamation);
}

}  // namespace modTLMain

namespace TLMainBids {

namespace {

using vb::vbCrLf;

// The run in progress: the item being mailed, the next slot to try, the send going on and the
// pause between messages.
struct MailRun {
    bool running = false;
    std::string item;  // "" = take the next one from the queue
    int nextSlot = 0;
    std::shared_ptr<modMail::MailSend> send;
    platform::Timer pause;
    platform::Timer ownTimer;  // SendBidResultsTimer until the main window hands over its own
    platform::Timer* sendTimer = nullptr;

    MailRun() {
        ownTimer.setHandler([] { SendBidResultsTimer_Timer(); });
        ownTimer.setInterval(kSendBidResultsIntervalMs);
        sendTimer = &ownTimer;
    }
};

MailRun& run() {
    static auto* r = new MailRun();  // lives as long as the process: sends may still report
    return *r;
}

// The bid engine's way in: the end-of-auction update queues and starts the timer through it.
class Mailer final : public BidResultsMail {
public:
    void Queue_Bid_Result(const std::string& itemNumber) override { Queue_Bid_Result_Email(itemNumber); }
    bool Mail_Queued() const override { return !BidResultsMailQueue.empty(); }
    void Start_Send_Timer() override { Start_Bid_Results_Timer(); }
};

Mailer& mailer() {
    static auto* m = new Mailer();
    return *m;
}

void logFailure(const std::string& item, const std::string& error) {
    modTLMain::Write_Op_Log("Bid Results Email Failed - Item " + item + " - " + error);
}

// The characters of a text (not its bytes), so a cut never splits one.
int charCount(const std::string& s) { return static_cast<int>(QString::fromStdString(s).toUcs4().size()); }

std::string leftChars(const std::string& s, int n) {
    const QList<uint> ucs = QString::fromStdString(s).toUcs4();
    if (n >= ucs.size()) return s;
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(ucs.constData()), std::max(n, 0)).toStdString();
}

void nextMessage();

void afterSend(const std::string& item, const modMail::MailResult& result) {
    MailRun& r = run();
    r.send.reset();
    if (!result.sent()) logFailure(item, result.error);
    // The next message goes three seconds later; the scheduler and everything else run meanwhile.
    r.pause.setInterval(3000);
    r.pause.setEnabled(true);
}

// Starts the next message of the run, or ends the run when the queue is done.
void nextMessage() {
    MailRun& r = run();
    auto& queue = BidResultsMailQueue;
    for (;;) {
        if (r.item.empty()) {
            if (queue.empty()) {
                r.running = false;
                return;
            }
            r.item = queue.front();
            r.nextSlot = 0;
        }
        int slot = r.nextSlot;
        while (slot < modTLMain::kEmailSlots && !modTLMain::Email_Slot_On(slot)) ++slot;
        if (slot >= modTLMain::kEmailSlots) {
            // Every slot tried: the item leaves the queue (its first entry; the queue may have grown).
            if (!queue.empty() && queue.front() == r.item) queue.pop_front();
            r.item.clear();
            continue;
        }
        r.nextSlot = slot + 1;
        const std::string address = modTLMain::Email_Slot_Address(slot);
        if (!modTLMain::Usable_Email_Address(address)) {
            logFailure(r.item, "Invalid Email Address In Slot " + std::to_string(slot + 1));
            continue;
        }
        // The item is found again by its number: the list may have changed since it was queued.
        const TLMainItems::AuctionItem* it = TLMainItems::Item_At(TLMainItems::FindItemIndex(r.item));
        if (!it) {
            logFailure(r.item, "Item Not Found");
            r.nextSlot = modTLMain::kEmailSlots;
            continue;
        }
        const std::string item = r.item;
        r.send = modTLMain::Start_Send_Email(address, modTLMain::kBidResultsSubject, Bid_Result_Body(*it, address),
                                             [item](const modMail::MailResult& result) { afterSend(item, result); });
        return;
    }
}

}  // namespace

std::string Bid_Result_Line(const TLMainItems::AuctionItem& item) {
    using TLMainItems::BidOutcome;
    switch (TLMainItems::Bid_Outcome(item)) {
        case BidOutcome::Won: return "You Won";
        case BidOutcome::NotConfirmed: return TLMainItems::kBidNotConfirmed;
        case BidOutcome::NeverPlaced: return TLMainItems::kNoBidPlaced;
        case BidOutcome::Lost:
        case BidOutcome::Open: break;
    }
    return "You Lost";
}

std::string Bid_Result_Body(const TLMainItems::AuctionItem& item, const std::string& address) {
    const std::string outcome = Bid_Result_Line(item);
    std::string body = std::string(vbCrLf) + "#" + item.ItemNumber + vbCrLf + "HiBid:" + item.CurrentPrice + vbCrLf +
                       "UBid:" + item.MaxBid + vbCrLf + outcome + vbCrLf + item.Title;
    const int total = charCount(body) + charCount(address) + charCount(modTLMain::kBidResultsSubject);
    if (total > modTLMain::kBidResultMailLimit)
        body = leftChars(body, charCount(body) - (total - modTLMain::kBidResultMailLimit));
    return body;
}

void Queue_Bid_Result_Email(const std::string& itemNumber) {
    if (!itemNumber.empty()) BidResultsMailQueue.push_back(itemNumber);
}

void Start_Bid_Results_Timer() { run().sendTimer->setEnabled(true); }

void Install_Bid_Results_Mail(platform::Timer* timer) {
    setBidLink<BidResultsMail>(timer ? &mailer() : nullptr);
    MailRun& r = run();
    platform::Timer* next = timer ? timer : &r.ownTimer;
    if (next == r.sendTimer) return;
    const bool armed = r.sendTimer->enabled();
    r.sendTimer->setEnabled(false);
    r.sendTimer = next;
    r.sendTimer->setHandler([] { SendBidResultsTimer_Timer(); });
    r.sendTimer->setInterval(kSendBidResultsIntervalMs);
    r.sendTimer->setEnabled(armed);
}

void SendBidResultsTimer_Timer() {
    run().sendTimer->setEnabled(false);
    SendBidResults();
}

void SendBidResults() {
    MailRun& r = run();
    if (r.running || BidResultsMailQueue.empty()) return;
    r.running = true;
    r.pause.setHandler([] {
        run().pause.setEnabled(false);
        nextMessage();
    });
    nextMessage();
}

bool Bid_Results_Sending() { return run().running; }

void ResetBidEmailForTests() {
    MailRun& r = run();
    if (r.send) r.send->Cancel();
    r.send.reset();
    r.pause.setEnabled(false);
    r.running = false;
    r.item.clear();
    r.nextSlot = 0;
    r.ownTimer.setEnabled(false);
    r.sendTimer = &r.ownTimer;
    BidResultsMailQueue.clear();
}

}  // namespace TLMainBids
