#include "ieext/ie_front.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <iterator>

#include "platform/file_names.h"
#include "platform/program_launcher.h"

namespace ieext {
namespace {

bool readSource(const std::string& source, std::string& out) {
    out.clear();
    if (source.empty()) return true;
    if (source == "-") {
        out.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    QFile f(QString::fromStdString(source));
    if (!f.open(QIODevice::ReadOnly)) return false;
    out = f.readAll().toStdString();
    return true;
}

// Waits until this process no longer owns the clipboard, or `ms` have passed.
void waitWhileOwner(QClipboard* board, int ms) {
    if (!board->ownsClipboard()) return;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(board, &QClipboard::dataChanged, &loop, [&] {
        if (!board->ownsClipboard()) loop.quit();
    });
    limit.start(ms);
    if (board->ownsClipboard()) loop.exec();
}

// The holder: takes the text over only while the clipboard still shows it (a program that took the
// hand-over meanwhile must not get it twice), then keeps it until somebody else takes the clipboard.
int hold(const std::string& file) {
    QFile f(QString::fromStdString(file));
    if (!f.open(QIODevice::ReadOnly)) return 1;
    const QString text = QString::fromUtf8(f.readAll());
    f.close();
    f.remove();
    QClipboard* board = QGuiApplication::clipboard();
    if (board->text() != text) return 0;
    board->setText(text);
    QTimer::singleShot(kHoldMs, qApp, &QCoreApplication::quit);
    QObject::connect(board, &QClipboard::dataChanged, qApp, [board] {
        if (!board->ownsClipboard()) QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

// A clipboard whose text goes when its owner ends (X11, Wayland) gets a holder.
bool clipboardDiesWithOwner() {
    const QString p = QGuiApplication::platformName();
    return p != "offscreen" && p != "minimal";
}

void leaveHolder(const std::string& ownFolder) {
    QClipboard* board = QGuiApplication::clipboard();
    if (!board->ownsClipboard()) return;
    QTemporaryFile f(QDir::tempPath() + "/TolvaneRerodeIE-XXXXXX");  // readable by this user only
    f.setAutoRemove(false);
    if (!f.open()) return;
    f.write(board->text().toUtf8());
    f.close();
    if (!platform::programLauncher().startDetached(ownFolder + "TolvaneRerodeIE", {"--hold", f.fileName().toStdString()},
                                                   ownFolder)) {
        f.remove();
        return;
    }
    waitWhileOwner(board, kHandToHolderMs);
}

}  // namespace

std::optional<FrontCommand> Parse_Front_Arguments(const std::vector<std::string>& args, std::string& error) {
    FrontCommand c;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        std::string method;
        if (a == "--add-item") method = "AddItem";
        else if (a == "--add-group") method = "AddGRP";
        else if (a == "--feedback") method = "Feedback";
        if (!method.empty()) {
            if (!c.method.empty()) {
                error = "only one of --add-item, --add-group and --feedback";
                return std::nullopt;
            }
            c.method = method;
            continue;
        }
        bool ok = true;
        if (a == "--url") ok = value(c.url);
        else if (a == "--title") ok = value(c.title);
        else if (a == "--html") ok = value(c.htmlSource);
        else if (a == "--text") ok = value(c.textSource);
        else if (a == "--hold") ok = value(c.holdFile);
        else {
            error = "unknown argument " + a;
            return std::nullopt;
        }
        if (!ok) return std::nullopt;
    }
    if (!c.holdFile.empty()) return c;
    if (c.method.empty()) {
        error = "one of --add-item, --add-group and --feedback is needed";
        return std::nullopt;
    }
    if (c.htmlSource == "-" && c.textSource == "-") {
        error = "only one of --html and --text can read the standard input";
        return std::nullopt;
    }
    return c;
}

int Run_Front(const FrontCommand& command, const std::string& ownFolder) {
    if (!command.holdFile.empty()) return hold(command.holdFile);
    PageForHandOver page;
    page.url = command.url;
    page.title = command.title;
    for (const auto& [source, into] : {std::pair{&command.htmlSource, &page.html}, std::pair{&command.textSource, &page.text}})
        if (!readSource(*source, *into)) {
            std::cerr << "Cannot read the page: " << *source << "\n";
            return 2;
        }
    if (!Hand_Over_Through_Library(ownFolder + platform::kExtensionFile, command.method, page)) {
        std::cerr << kCreateError << "\n";
        return 1;
    }
    if (clipboardDiesWithOwner()) leaveHolder(ownFolder);
    return 0;
}

}  // namespace ieext
