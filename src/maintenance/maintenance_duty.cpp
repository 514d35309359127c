#include "maintenance/maintenance_duty.h"

#include "foundation/debug_tools.h"
#include "maintenance/item_list_export.h"
#include "maintenance/item_printing.h"
#include "maintenance/page_export.h"
#include "maintenance/program_update.h"
#include "maintenance/report_problem.h"
#include "maintenance/user_files.h"

namespace Maintenance {

void MaintenanceDuty::Menu_Command(const std::string& Name) {
    if (Name == "MnuFileListText")
        Export_Item_List(ListExport::AllText);
    else if (Name == "MnuFileListTab")
        Export_Item_List(ListExport::AllTab);
    else if (Name == "MnuFileCategoryText")
        Export_Item_List(ListExport::CategoryText);
    else if (Name == "MnuFileCategoryTab")
        Export_Item_List(ListExport::CategoryTab);
    else if (Name == "MnuFilePrintAll")
        Print_Items(PrintChoice::All);
    else if (Name == "MnuFilePrintCategory")
        Print_Items(PrintChoice::Category);
    else if (Name == "MnuFilePrintSelected")
        Print_Items(PrintChoice::Selected);
    else if (Name == "MnuFileExportText")
        MnuSubExport_Click(0);
    else if (Name == "MnuFileExportImages")
        MnuSubExport_Click(1);
    else if (Name == "MnuFileBackup")
        MnuTitleBackup_Click();
    else if (Name == "MnuFileRestore")
        MnuTitleRestore_Click();
    else if (Name == "MnuFileExportItems")
        MnuTitleExportItems_Click();
    else if (Name == "MnuFileImportItems")
        MnuTitleImportItems_Click();
}

void MaintenanceDuty::Report_Problem() { modReportProblem::Report_Problem(); }
void MaintenanceDuty::Contact_Us() { modReportProblem::Contact_Us(); }
void MaintenanceDuty::BackupFiles(const std::string& Mode) { ::Maintenance::BackupFiles(Mode); }
void MaintenanceDuty::MnuTitleUpdateFile_Click() { ::Maintenance::MnuTitleUpdateFile_Click(); }

void Register_Maintenance() {
    static MaintenanceDuty duty;
    TLMainServices::setService<TLMainServices::Maintenance>(&duty);
    // The debug menu's DecodeRpt and DecodeCF turn a block of a received problem report back
    // into its page or its configuration text.
    modDebug::Debug_Hooks().decodeReportBlock = modReportProblem::Decode_Report_Block;
}

}  // namespace Maintenance
