#include "items/item_grid_link.h"

#include "foundation/config_store.h"
#include "foundation/vb.h"

namespace TLMainItems {
namespace {
ItemGridLink g_none;
ItemGridLink* g_grid = nullptr;
}  // namespace

ItemGridLink& itemGrid() { return g_grid ? *g_grid : g_none; }
void registerItemGrid(ItemGridLink* grid) { g_grid = grid; }

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

}  // namespace TLMainItems
