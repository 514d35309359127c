#include "platform/file_version.h"

#include <QFile>

namespace platform {

namespace {
// The tag, each byte stored plus one and read through a volatile array, so that
// the compiler cannot put the tag itself into this code's binary.
const volatile unsigned char kShiftedTag[] = {
    0x02, 'U', 'p', 'm', 'w', 'b', 'o', 'f', 'G', 'j', 'm', 'f', 'W', 'f', 's', 't', 'j', 'p', 'o', 0x03};
constexpr size_t kMaxVersionChars = 64;
}  // namespace

std::string versionMarkerTag() {
    std::string tag;
    tag.reserve(sizeof kShiftedTag);
    for (size_t i = 0; i < sizeof kShiftedTag; ++i) tag.push_back(static_cast<char>(kShiftedTag[i] - 1));
    return tag;
}

std::string findVersionMarker(const std::string& bytes) {
    const std::string tag = versionMarkerTag();
    size_t at = 0;
    while ((at = bytes.find(tag, at)) != std::string::npos) {
        const size_t from = at + tag.size();
        const size_t end = bytes.find('\0', from);
        if (end != std::string::npos && end > from && end - from <= kMaxVersionChars)
            return bytes.substr(from, end - from);
        at = from;
    }
    return {};
}

std::string readFileVersion(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (path.empty() || !f.open(QIODevice::ReadOnly)) return {};
    const QByteArray all = f.readAll();
    return findVersionMarker(std::string(all.constData(), static_cast<size_t>(all.size())));
}

}  // namespace platform
