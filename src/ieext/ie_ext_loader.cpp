#include "ieext/ie_ext_loader.h"

#include <dlfcn.h>

#include "ieext/ie_ext_c.h"

namespace ieext {

bool Hand_Over_Through_Library(const std::string& libraryPath, const std::string& method,
                               const PageForHandOver& page) {
    // The library stays loaded: the program it may have started, and the clipboard, outlive the call.
    void* lib = ::dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return false;
    const auto create = reinterpret_cast<void* (*)()>(::dlsym(lib, "TLIE_Create"));
    const auto destroy = reinterpret_cast<void (*)(void*)>(::dlsym(lib, "TLIE_Destroy"));
    const auto let = reinterpret_cast<int (*)(void*, const char*, const char*, size_t)>(::dlsym(lib, "TLIE_Let"));
    const auto call = reinterpret_cast<int (*)(void*, const char*)>(::dlsym(lib, "TLIE_Call"));
    if (!create || !destroy || !let || !call) return false;
    void* ext = create();
    if (!ext) return false;
    bool ok = let(ext, "PageURL", page.url.data(), page.url.size()) == 0 &&
              let(ext, "PageTitle", page.title.data(), page.title.size()) == 0 &&
              let(ext, "PageHTML", page.html.data(), page.html.size()) == 0 &&
              let(ext, "PageText", page.text.data(), page.text.size()) == 0;
    if (ok) ok = call(ext, method.c_str()) == 0;
    destroy(ext);
    return ok;
}

}  // namespace ieext
