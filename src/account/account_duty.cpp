#include "account/account_duty.h"

#include "account/feedback_grid.h"
#include "account/feedback_to_leave.h"
#include "account/list_import.h"
#include "account/seller_feedback.h"

namespace TLMainAccount {

void AccountDuty::Load_Feedback_Grid() { TLMainAccount::Load_Feedback_Grid(); }
void AccountDuty::Get_Feedback_To_Leave() { modFeedback::Get_Feedback_To_Leave(); }
void AccountDuty::MyeBayView() { TLMainAccount::MyeBayView(); }
void AccountDuty::MyeBayFunction(int Kind) { TLMainAccount::MyeBayFunction(Kind); }
bool AccountDuty::Analysis_Of_Handed_Over_Item() const { return modFeedback::FeedbackSource == 2; }

void AccountDuty::Show_Item_Feedback() {
    modFeedback::ItemFeedback& window = modFeedback::ItemFeedback::instance();
    window.show();
    window.raise();
    window.activateWindow();
}

void AccountDuty::Feedback_Analyzer() { modFeedback::Open_Feedback_Analyzer(); }

void Register_Account_Tools() {
    static AccountDuty duty;
    TLMainServices::setService<TLMainServices::AccountTools>(&duty);
}

}  // namespace TLMainAccount
