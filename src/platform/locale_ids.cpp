#include "platform/locale_ids.h"

#include "platform/locale_info.h"

namespace platform {
namespace {

struct Entry { const char* name; long id; };

// The national sites' locales first, then other common ones.
constexpr Entry kTable[] = {
    {"en_US", 1033}, {"en_AU", 3081}, {"en_CA", 4105}, {"en_GB", 2057}, {"de_AT", 3079},
    {"fr_BE", 2060}, {"nl_BE", 2067}, {"fr_FR", 1036}, {"de_DE", 1031}, {"it_IT", 1040},
    {"nl_NL", 1043}, {"es_ES", 3082}, {"sv_SE", 1053},
    {"de_CH", 2055}, {"fr_CH", 4108}, {"it_CH", 2064}, {"en_SG", 18441}, {"zh_SG", 4100},
    {"en_NZ", 5129}, {"en_IE", 6153}, {"en_ZA", 7177}, {"en_IN", 16393}, {"fr_CA", 3084},
    {"de_LU", 4103}, {"fr_LU", 5132}, {"pt_BR", 1046}, {"pt_PT", 2070}, {"es_MX", 2058},
    {"es_AR", 11274}, {"da_DK", 1030}, {"nb_NO", 1044}, {"fi_FI", 1035}, {"pl_PL", 1045},
    {"cs_CZ", 1029}, {"hu_HU", 1038}, {"el_GR", 1032}, {"tr_TR", 1055}, {"ru_RU", 1049},
    {"ja_JP", 1041}, {"ko_KR", 1042}, {"zh_CN", 2052}, {"zh_TW", 1028}, {"zh_HK", 3076},
};

std::string normalise(const std::string& name) {
    std::string s = name;
    const auto cut = s.find_first_of(".@");
    if (cut != std::string::npos) s.erase(cut);
    for (auto& c : s)
        if (c == '-') c = '_';
    return s;
}

}  // namespace

long localeIdFor(const std::string& posixName) {
    const std::string n = normalise(posixName);
    for (const auto& e : kTable)
        if (n == e.name) return e.id;
    return 0;
}

std::string localeNameFor(long localeId) {
    for (const auto& e : kTable)
        if (e.id == localeId) return e.name;
    return {};
}

long userLocaleId() { return localeIdFor(userLocaleName()); }

bool localeForId(long localeId, QLocale& out) {
    if (localeId == kLocaleNeutral || localeId == kLocaleUserDefault || localeId == kLocaleSystemDefault ||
        localeId == userLocaleId()) {
        out = userLocale();
        return true;
    }
    const std::string name = localeNameFor(localeId);
    if (name.empty()) return false;
    out = QLocale(QString::fromStdString(name));
    return true;
}

}  // namespace platform
