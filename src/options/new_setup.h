// new_setup.h — the first-run set-up wizard. Start-up loads it hidden: its start timer
// loads the configuration store.
#pragma once

#include <QWidget>
#include <functional>

#include "platform/timers.h"

class QLabel;

class NewSetup final : public QWidget {
    Q_OBJECT
public:
    NewSetup();
    static NewSetup& instance();
    static bool loaded();
    static void Unload();

    void Form_Load();
    void LIF_Timer();
    // The wizard's end: saves the configuration and shows the main window.
    void Done();

    // Shows the main window (the program's main() sets it).
    static void SetShowMainWindow(std::function<void()> show);

protected:
    // The close box finishes the wizard: the program never runs on without a window.
    void closeEvent(QCloseEvent* e) override;

private:
    platform::Timer LIF;
    QLabel* labInfo = nullptr;
};
