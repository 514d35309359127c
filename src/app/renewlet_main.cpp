// Renewlet — the updater: replaces the main program's file in its own folder with the downloaded
// one and starts the program again. Its one argument is the update trail.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/file_version.h"
#include "updater/renewlet.h"

TOLVANE_VERSION_MARKER(TOLVANE_PROGRAM_VERSION);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Renewlet");
    const std::string trail = argc > 1 ? argv[1] : "";
    const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";

    QWidget window;
    window.setWindowTitle(Renewlet::kWindowTitle);
    window.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* layout = new QVBoxLayout(&window);
    auto* heading = new QLabel(Renewlet::kHeading, &window);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    heading->setFont(big);
    auto* status = new QLabel(Renewlet::kUpdating, &window);
    layout->addWidget(heading);
    layout->addWidget(status);
    window.resize(360, 120);
    window.show();
    window.raise();

    Renewlet::statusSink() = [status](const std::string& text) { status->setText(QString::fromStdString(text)); };
    Renewlet::Updater updater(folder, trail, Renewlet::realOps());
    updater.start([] { QCoreApplication::quit(); });
    return app.exec() == 0 && updater.succeeded() ? 0 : 1;
}
