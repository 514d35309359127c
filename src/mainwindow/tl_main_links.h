// tl_main_links.h — the duties the main window takes on for the item routines and the bid engine
// while it is loaded: the deferred item adds and list refreshes, the bid set-up dialog's refresh
// of its items, the alarm dialog, the browser views the grid opens.
#pragma once

#include <memory>

class QWidget;

namespace TLMainWindowLinks {

class Links;

// Takes the duties on for `window` (the alarm dialog's parent); they go back when the object goes.
std::unique_ptr<Links> Take_On_Links(QWidget* window);

class Links {
public:
    virtual ~Links() = default;
};

}  // namespace TLMainWindowLinks
