// maintenance_duty.h — the maintenance commands as the main window reaches them
// (TLMainServices::Maintenance): the item-list exports, backup, restore and
// the item-file transfer by their menu names, the daily backup and the program update.
#pragma once

#include <string>

#include "mainwindow/tl_main_services.h"

namespace Maintenance {

class MaintenanceDuty final : public TLMainServices::Maintenance {
public:
    void BackupFiles(const std::string& Mode) override;
    void MnuTitleUpdateFile_Click() override;
    void Report_Problem() override;
    void Contact_Us() override;
    void Menu_Command(const std::string& Name) override;
};

// Takes the duty on for the life of the program, with the debug menu's report decoder.
void Register_Maintenance();

}  // namespace Maintenance
