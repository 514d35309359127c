// TolvaneRerodeIE — hands a page to the program from the command line, through the extension
// library beside this file.
#include <QCoreApplication>
#include <QGuiApplication>
#include <iostream>

#include "ieext/ie_front.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto command = ieext::Parse_Front_Arguments(args, error);
    if (!command) {
        std::cerr << error << "\n" << ieext::kFrontUsage << "\n";
        return 2;
    }
    QGuiApplication app(argc, argv);
    return ieext::Run_Front(*command, QCoreApplication::applicationDirPath().toStdString() + "/");
}
