#include "maintenance/maintenance_duty.h"

#include "maintenance/item_list_export.h"

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
}

void Register_Maintenance() {
    static MaintenanceDuty duty;
    TLMainServices::setService<TLMainServices::Maintenance>(&duty);
}

}  // namespace Maintenance
