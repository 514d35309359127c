#include "items/item_windows.h"

namespace TLMainItems {
namespace {
ItemWindows g_none;
ItemWindows* g_windows = nullptr;
}  // namespace

ItemWindows& itemWindows() { return g_windows ? *g_windows : g_none; }
void registerItemWindows(ItemWindows* windows) { g_windows = windows; }

}  // namespace TLMainItems
