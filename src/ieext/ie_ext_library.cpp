// The extension library's entry points: IEExt behind plain C calls, for callers that load the
// library at run time and bind by name.
#include "ieext/ie_ext.h"
#include "ieext/ie_ext_c.h"
#include "platform/file_version.h"

TOLVANE_VERSION_MARKER(TOLVANE_EXTENSION_VERSION);

using ieext::IEExt;

#define TLIE_EXPORT extern "C" __attribute__((visibility("default")))

TLIE_EXPORT void* TLIE_Create(void) {
    try {
        return new IEExt();
    } catch (...) {
        return nullptr;
    }
}

TLIE_EXPORT void TLIE_Destroy(void* ext) { delete static_cast<IEExt*>(ext); }

TLIE_EXPORT int TLIE_Let(void* ext, const char* property, const char* value, size_t length) {
    const auto p = property ? ieext::Property_Named(property) : std::nullopt;
    if (!ext || !p) return -1;
    static_cast<IEExt*>(ext)->Let(*p, value ? std::string(value, length) : std::string());
    return 0;
}

TLIE_EXPORT int TLIE_Set(void* ext, const char* property, void* object, TLIE_ObjectText text) {
    const auto p = property ? ieext::Property_Named(property) : std::nullopt;
    if (!ext || !p) return -1;
    ieext::PageObject o;
    o.reference = object;
    if (text)
        o.text = [object, text]() -> std::optional<std::string> {
            const char* t = text(object);
            if (!t) return std::nullopt;
            return std::string(t);
        };
    static_cast<IEExt*>(ext)->Set(*p, std::move(o));
    return 0;
}

TLIE_EXPORT int TLIE_Get(void* ext, const char* property, int* kind, const char** value, size_t* length,
                         void** object) {
    const auto p = property ? ieext::Property_Named(property) : std::nullopt;
    if (!ext || !p) return -1;
    const ieext::PageValue& v = static_cast<IEExt*>(ext)->Get(*p);
    int k = TLIE_EMPTY;
    const char* text = nullptr;
    size_t size = 0;
    void* ref = nullptr;
    if (const auto* s = std::get_if<std::string>(&v)) {
        k = TLIE_TEXT;
        text = s->data();
        size = s->size();
    } else if (const auto* o = std::get_if<ieext::PageObject>(&v)) {
        k = TLIE_OBJECT;
        ref = o->reference;
    }
    if (kind) *kind = k;
    if (value) *value = text;
    if (length) *length = size;
    if (object) *object = ref;
    return 0;
}

TLIE_EXPORT int TLIE_Call(void* ext, const char* method) {
    if (!ext || !method) return -1;
    IEExt& e = *static_cast<IEExt*>(ext);
    const std::string m = method;
    if (m == "AddItem") e.AddItem();
    else if (m == "AddGRP") e.AddGRP();
    else if (m == "Feedback") e.Feedback();
    else return -1;
    return 0;
}

TLIE_EXPORT const char* TLIE_Version(void) { return TOLVANE_EXTENSION_VERSION; }
