// item_photo.h — the item photo pop-up: the photo saved when the item was added ("Item Photos/"
// + the item number + ".jpg") scaled into a square box of the user's chosen size, framed and
// placed beside the grid row the mouse rests on; a small "no photo" frame when there is none.
// A right press on a shown photo enlarges it a step.
//
// Sizes are twips. The box side is ([Options] PhotoSize + 2) × 500 (default PhotoSize 3: 2500).
// The frame goes above the row when it fits below the grid's top, else below it, 50 twips right
// of the item-number column.
#pragma once

#include <vector>

#include "items/item_window_links.h"

namespace TLMainItems {

// A photo frame and its picture; element 0 is the pop-up, the main window may pin copies after it.
struct PhotoElement {
    TwipRect frame;
    TwipRect picture;
    bool noPhoto = false;
    bool visible = false;
};
std::vector<PhotoElement>& Photo_Elements();

// The last box and the shown picture's height over its width.
inline long PhotoBoxWidth = 0;
inline long PhotoBoxHeight = 0;
inline float PhotoAspect = 0;

// Shows the photo of the item on grid row `Row` next to that row.
void Show_Item_Photo(long Row);
// Enlarges photo element `Index` by 1000 twips in width, keeping its proportions.
void Scale_Item_Photo(int Index);

bool Photo_Shown(int index);
void Hide_Item_Photo(int index);

// Where a pop-up beside grid row `row` goes: left 50 twips right of the item-number column;
// above the row (overlapping it by 20 twips) when that stays below the grid's top, else 30 twips
// below it. `rowHeight` is the grid's row height.
TwipRect Popup_Area(long row, long rowHeight, long width, long height);

void ResetItemPhotoForTests();

}  // namespace TLMainItems
