// account_duty.h — the account and feedback tools as the main window reaches them
// (TLMainServices::AccountTools): the "My eBay" button and its entries, the feedback still to
// leave, the seller feedback analyzer and the grid layouts of the feedback views.
#pragma once

#include "mainwindow/tl_main_services.h"

namespace TLMainAccount {

class AccountDuty final : public TLMainServices::AccountTools {
public:
    void Load_Feedback_Grid() override;
    void Get_Feedback_To_Leave() override;
    void MyeBayView() override;
    void MyeBayFunction(int Kind) override;
    bool Analysis_Of_Handed_Over_Item() const override;
    void Show_Item_Feedback() override;
    void Feedback_Analyzer() override;
};

// Takes the duty on for the life of the program.
void Register_Account_Tools();

}  // namespace TLMainAccount
