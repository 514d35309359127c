// bid_email.h — the bid-result e-mail: a short "Bid Results" message for each finished item
// whose bid set-up asked for one, to up to three notification addresses, and the options
// dialog's test mail.
//
// Settings live in section "Remote": "Email0".."Email2" (addresses), "EmailEn0".."EmailEn2" (a
// slot is on when its value is 1), "ActSMTPServer", "ActSMTPPort", "ActName" (the account and
// the sender address), "ActPass" and "AuthReq" (use SSL, 1 by default; how it is applied:
// bidding/mail_transport.h).
//
// The end-of-auction update queues the item's number and, once no other result is outstanding,
// enables the main window's one-shot SendBidResultsTimer; one run then sends the whole queue,
// message after message, 3 seconds apart, without holding up anything else: each send runs in
// the background and the run goes on from the event loop when it ends.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "bidding/mail_transport.h"
#include "items/auction_item.h"

namespace platform {
class Timer;
}

namespace modTLMain {

inline constexpr const char* kBidResultsSubject = "Bid Results";
// Address, subject and body of a result message together are at most this many characters.
inline constexpr int kBidResultMailLimit = 120;

// The notification slots 0 to 2: on when "EmailEn<n>" is 1; the address "Email<n>".
inline constexpr int kEmailSlots = 3;
bool Email_Slot_On(int n);
std::string Email_Slot_Address(int n);

// The SMTP account of section "Remote" (port "465" and SSL on when not set).
modMail::SmtpAccount Email_Account();

// An address mail can go to: not empty, holds "@", no line break.
bool Usable_Email_Address(const std::string& address);

// Sends one message through the account; `done` runs on the UI thread with the result.
std::shared_ptr<modMail::MailSend> Start_Send_Email(const std::string& address, const std::string& subject,
                                                    const std::string& body,
                                                    std::function<void(const modMail::MailResult&)> done);
// The blocking form: waits (yielding) for the result; 0 = sent.
modMail::MailResult Send_Email(const std::string& address, const std::string& subject, const std::string& body);

// True when the e-mail settings are complete: a slot that is on with a usable address, and a
// server, port, account name and password.
bool Email_Settings_OK();

// The options dialog's test mail: asks first, sends the sample to every slot that is on and
// reports "Test Email Sent...." or "Test Email Failed - <error>".
void Test_Email();

}  // namespace modTLMain

namespace TLMainBids {

// Item numbers whose result is still to be mailed, in the order the results came in. Read by
// the heartbeat and the power control, which hold back sleep while it is not empty.
inline std::deque<std::string> BidResultsMailQueue;

// The text of the result message for `item` to `address`, cut at its end so that address,
// subject and body together are at most kBidResultMailLimit characters.
std::string Bid_Result_Body(const TLMainItems::AuctionItem& item, const std::string& address);
// Its outcome line, by the bid's outcome (bid_outcome.h): "You Won", "You Lost", "Bid Not
// Confirmed" (the service never confirmed the bid), or "No Bid Placed" (the bid never went out).
std::string Bid_Result_Line(const TLMainItems::AuctionItem& item);

// Puts the item's result into the queue (the end-of-auction update, when the item asked for it).
void Queue_Bid_Result_Email(const std::string& itemNumber);
// Enables SendBidResultsTimer: the queue is sent one second later.
void Start_Bid_Results_Timer();

inline constexpr int kSendBidResultsIntervalMs = 1000;

// The main window's load hands over its SendBidResultsTimer (this sets its handler and interval,
// leaving it disabled) and so makes this module the bid engine's result mail
// (BidResultsMail of bid_engine_links.h); nullptr gives both back. Until then a timer of this
// module's own stands in.
void Install_Bid_Results_Mail(platform::Timer* sendBidResultsTimer);
// SendBidResultsTimer's handler: disables the timer, then SendBidResults.
void SendBidResultsTimer_Timer();
// Sends the queue. A run already going takes what is queued meanwhile, so a second call does
// nothing. Each item is tried on every slot that is on, then taken out of the queue; a failed
// message is logged "Bid Results Email Failed - Item <n> - <error>" and not retried.
void SendBidResults();
// True while a run is sending.
bool Bid_Results_Sending();

void ResetBidEmailForTests();

}  // namespace TLMainBids
