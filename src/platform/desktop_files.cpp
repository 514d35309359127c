#include "platform/desktop_files.h"

#include <QApplication>
#include <QFileDialog>
#include <QProcess>
#include <QStringList>

namespace platform {
namespace {

class QtDesktopFiles final : public DesktopFiles {
public:
    void openFile(const std::string& path, std::function<void()> failed) override {
        // The opener may run as long as the application it starts; it is let go when the program
        // ends first, so that application stays open.
        auto* opener = new QProcess();
        auto report = [opener, failed] {
            opener->deleteLater();
            if (failed) failed();
        };
        QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, report](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart) report();
        });
        QObject::connect(opener, &QProcess::finished, opener, [opener, report](int code, QProcess::ExitStatus how) {
            if (how != QProcess::NormalExit || code != 0)
                report();
            else
                opener->deleteLater();
        });
        opener->setStandardOutputFile(QProcess::nullDevice());
        opener->setStandardErrorFile(QProcess::nullDevice());
        opener->start(QStringLiteral("xdg-open"), {QString::fromStdString(path)});
    }
    std::string chooseFileToOpen(const std::string& folder, const std::string& filter,
                                 const std::string& title) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return {};
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                            QString::fromStdString(folder), qtFilter(filter))
            .toStdString();
    }

private:
    // "Text (*.txt)|*.txt|All Files (*.*)|*.*" -> "Text (*.txt);;All Files (*)"
    static QString qtFilter(const std::string& filter) {
        const QStringList parts = QString::fromStdString(filter).split('|');
        QStringList out;
        for (int i = 0; i + 1 < parts.size(); i += 2) {
            QString patterns = parts[i + 1];
            patterns.replace(';', ' ').replace("*.*", "*");
            out << parts[i].section('(', 0, 0).trimmed() + " (" + patterns + ")";
        }
        return out.join(";;");
    }
};

DesktopFiles* g_override = nullptr;

}  // namespace

DesktopFiles& desktopFiles() {
    static QtDesktopFiles real;
    return g_override ? *g_override : real;
}

void setDesktopFilesForTests(DesktopFiles* d) { g_override = d; }

}  // namespace platform
