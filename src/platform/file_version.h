// file_version.h — the version text each deliverable carries in its own file.
//
// A deliverable states its version once, at namespace scope in one of its own
// source files (the one with main(), so the linker keeps it):
//
//     TOLVANE_VERSION_MARKER(TOLVANE_PROGRAM_VERSION)   // "3.43"
//
// The macro places a marker (a fixed tag followed by the version text and a
// zero byte) into the binary. readFileVersion() finds it by scanning the file's
// bytes, so the version of a program is read without running it.
#pragma once

#include <string>

// The tag: bytes unlikely to occur by chance. Kept in one place so that the
// marker and the reader agree; the reader never holds the tag as one piece of
// text, so a file that merely contains the reader is not taken for a marker.
#define TOLVANE_VERSION_TAG_ "\x01TolvaneFileVersion\x02"

#define TOLVANE_VERSION_MARKER_CAT2_(a, b) a##b
#define TOLVANE_VERSION_MARKER_CAT_(a, b) TOLVANE_VERSION_MARKER_CAT2_(a, b)
#define TOLVANE_VERSION_MARKER(ver)                                                          \
    __attribute__((used)) static const volatile char TOLVANE_VERSION_MARKER_CAT_(           \
        tolvaneVersionMarker_, __LINE__)[] = TOLVANE_VERSION_TAG_ ver

namespace platform {

// The version text of the marker in the file (up to its zero byte); "" when the
// file is missing, cannot be read or holds no marker.
std::string readFileVersion(const std::string& path);

// The same for bytes already in memory.
std::string findVersionMarker(const std::string& bytes);

// The tag itself, built at run time (tests write it into files of their own).
std::string versionMarkerTag();

}  // namespace platform
