#include "items/item_grid_link.h"

#include "foundation/config_store.h"
#include "foundation/duty_links.h"
#include "foundation/vb.h"

namespace TLMainItems {
ItemGridLink& itemGrid() { return DutyLinks::dutyLink<ItemGridLink>(); }
void registerItemGrid(ItemGridLink* grid) { DutyLinks::setDutyLink(grid); }

void Read_Grid_Colours() {
    struct Colour { const char* key; long* value; long def; };
    const Colour colours[] = {
        {"ColorBid", &ColorBid, 65535},       {"ColorWintally", &ColorWintally, 16776960},
        {"ColorVal", &ColorVal, 33023},       {"ColorHiBid", &ColorHiBid, 65280},
        {"ColorOutBid", &ColorOutBid, 255},   {"ColorGrid", &ColorGrid, 16777215},
        {"ColorAlert", &ColorAlert, 33023},
    };
    for (const auto& c : colours) {
        const std::string v = modTLC::Get_Config_Value("Options", c.key, std::to_string(c.def));
        *c.value = vb::IsNumeric(v) ? vb::CLng(v) : c.def;
    }
}

long Grid_Back_Colour() {
    return modTLC::Get_Config_Value("Options", "ColorGrid", "").empty() ? kDesktopColour : ColorGrid;
}

}  // namespace TLMainItems
