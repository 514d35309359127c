#include "platform/save_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace platform {
namespace {

// "A (*.a)|*.a|B (*.b)|*.b" -> "A (*.a);;B (*.b)": the descriptions carry their patterns.
QString qtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& text = parts[i];
        out << (text.contains('(') ? text : text + " (" + parts[i + 1] + ")");
    }
    return out.join(";;");
}

class SystemSaveDialog final : public SaveDialog {
public:
    SaveAnswer chooseFileToSave(const std::string& title, const std::string& filter,
                                const std::string& proposedName) override {
        const QString chosen = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                                            QString::fromStdString(proposedName), qtFilter(filter));
        if (chosen.isEmpty()) return {{}, kCancelSelected};
        return {chosen.toStdString(), {}};
    }
};

SaveDialog* g_test = nullptr;

}  // namespace

SaveDialog& saveDialog() {
    static SystemSaveDialog system;
    return g_test ? *g_test : system;
}

void setSaveDialogForTests(SaveDialog* d) { g_test = d; }

}  // namespace platform
