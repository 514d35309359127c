#include "items/item_photo.h"

#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "foundation/vb.h"
#include "foundation/whole_file.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"

namespace TLMainItems {
namespace {

// Twips are whole numbers; halves go to the even one.
long whole(double v) { return static_cast<long>(vb::RoundHalfEven(v)); }

void place(int index) {
    const PhotoElement& e = Photo_Elements()[static_cast<size_t>(index)];
    itemLink<PhotoFrame>().placePhoto(index, e.frame, e.picture, e.noPhoto, e.visible);
}

}  // namespace

std::vector<PhotoElement>& Photo_Elements() {
    static std::vector<PhotoElement> elements(1);
    return elements;
}

TwipRect Popup_Area(long row, long rowHeight, long width, long height) {
    const ItemGridModel& g = ItemGrid();
    const long y = g.Area.top + rowHeight * (row - g.TopRow() + 1);
    TwipRect r;
    r.width = width;
    r.height = height;
    r.left = g.Area.left + g.ScreenColWidth(0) + g.ScreenColWidth(1) + 50;
    r.top = g.Area.top <= y - height + 20 ? y - height + 20 : y + rowHeight + 30;
    return r;
}

void Show_Item_Photo(long Row) {
    const ItemGridModel& g = ItemGrid();
    PhotoElement& e = Photo_Elements()[0];
    const std::string number = g.TextMatrix(static_cast<int>(Row), kColItemNumber);

    const std::string size = modTLC::Get_Config_Value("Options", "PhotoSize", "3");
    if (vb::IsNumeric(size)) e.picture.width = whole((vb::CDbl(size) + 2) * 500);  // else the last side stays
    e.picture.height = e.picture.width;
    PhotoBoxWidth = e.picture.width;
    PhotoBoxHeight = e.picture.height;

    const std::string file = modTLMain::DataFolder + "Item Photos/" + number + ".jpg";
    if (!number.empty() && modTLMain::File_Exists(file)) {
        e.noPhoto = false;
        long w = 0, h = 0;
        if (itemLink<PhotoFrame>().loadPicture(file, w, h) && w > 0) PhotoAspect = static_cast<float>(h) / w;
        e.picture.height = whole(e.picture.width * static_cast<double>(PhotoAspect));
        if (e.picture.height > PhotoBoxHeight && PhotoAspect > 0) {
            e.picture.height = PhotoBoxHeight;
            e.picture.width = whole(e.picture.width / static_cast<double>(PhotoAspect));
        }
        e.frame.height = e.picture.height + 40;
        e.frame.width = e.picture.width + 40;
        e.picture.left = 20;
        e.picture.top = 20;
    } else {
        itemLink<PhotoFrame>().clearPicture();
        e.frame.width = 1500;
        e.frame.height = 1000;
        e.noPhoto = true;
    }
    const TwipRect at = Popup_Area(Row, g.RowHeight(2), e.frame.width, e.frame.height);
    e.frame.left = at.left;
    e.frame.top = at.top;
    e.visible = true;
    place(0);
}

void Scale_Item_Photo(int Index) {
    auto& elements = Photo_Elements();
    if (Index < 0 || static_cast<size_t>(Index) >= elements.size()) return;
    PhotoElement& e = elements[static_cast<size_t>(Index)];
    if (e.picture.width <= 0) return;
    const double aspect = static_cast<double>(e.picture.height) / e.picture.width;
    PhotoAspect = static_cast<float>(aspect);
    e.picture.height = whole(e.picture.height + 1000 * aspect);
    e.picture.width += 1000;
    e.picture.left = 10;
    e.picture.top = 10;
    e.frame.height = e.picture.height + 25;
    e.frame.width = e.picture.width + 25;
    e.frame.left -= 250;
    e.frame.top = whole(e.frame.top - 250 * aspect);
    place(Index);
}

bool Photo_Shown(int index) {
    const auto& elements = Photo_Elements();
    return index >= 0 && static_cast<size_t>(index) < elements.size() && elements[static_cast<size_t>(index)].visible;
}

void Hide_Item_Photo(int index) {
    auto& elements = Photo_Elements();
    if (index < 0 || static_cast<size_t>(index) >= elements.size()) return;
    elements[static_cast<size_t>(index)].visible = false;
    place(index);
}

void ResetItemPhotoForTests() {
    Photo_Elements().assign(1, PhotoElement{});
    PhotoBoxWidth = PhotoBoxHeight = 0;
    PhotoAspect = 0;
}

}  // namespace TLMainItems
