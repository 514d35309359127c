// ie_ext_loader.h — the callers' side of the extension: the library loaded by its file name, an
// IEExt created in it, the page's address, title, HTML and text set in that order, and one method
// called. Each browser page or command that hands a page over does just this.
#pragma once

#include <string>

namespace ieext {

inline constexpr const char* kCreateError = "An error occured!";  // the object could not be made

struct PageForHandOver {
    std::string url, title, html, text;
};

// Loads the library at `libraryPath` and runs `method` ("AddItem", "AddGRP" or "Feedback") on a
// new object holding `page`. False (nothing handed over) when the library, its object or the
// method is not there: the caller then tells the user kCreateError.
bool Hand_Over_Through_Library(const std::string& libraryPath, const std::string& method,
                               const PageForHandOver& page);

}  // namespace ieext
