// ie_front.h — the command-line front of the extension: a page given by its address, title, HTML
// and text is handed to the program as the browser's context menu hands one over.
//
//   TolvaneRerodeIE --add-item|--add-group|--feedback --url U --title T --html FILE|- --text FILE|-
//
// On X11 the clipboard's text lives only as long as the process that put it there: the front
// leaves a holder process behind (--hold) that keeps the text until another program takes the
// clipboard, at most kHoldMs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ieext/ie_ext_loader.h"

namespace ieext {

inline constexpr int kHoldMs = 10 * 60 * 1000;
inline constexpr int kHandToHolderMs = 5000;  // the front waits so long for the holder to take over
inline constexpr const char* kFrontUsage =
    "Usage: TolvaneRerodeIE --add-item|--add-group|--feedback --url U --title T --html FILE|- --text FILE|-";

struct FrontCommand {
    std::string method;                 // "AddItem", "AddGRP" or "Feedback"
    std::string url, title;
    std::string htmlSource, textSource;  // a file name, "-" for the standard input, "" for none
    std::string holdFile;               // --hold FILE: be the holder of the text in FILE
};

// The command of the arguments (without the program name); nullopt with `error` set when they do
// not make one.
std::optional<FrontCommand> Parse_Front_Arguments(const std::vector<std::string>& args, std::string& error);

// Runs the front (a Qt application must exist); returns the process's exit code.
int Run_Front(const FrontCommand& command, const std::string& ownFolder);

}  // namespace ieext
