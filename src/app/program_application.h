// program_application.h — the program's QApplication: no error escapes an event handler.
#pragma once

#include <QApplication>
#include <functional>

class QEvent;
class QObject;

namespace programstart {

// Delivers one event through `deliver`; an exception it throws is written to the error log
// (naming the receiver and the event) and the program goes on, as if the event was not handled.
bool Deliver_Guarded(QObject* receiver, QEvent* event, const std::function<bool()>& deliver);

class ProgramApplication final : public QApplication {
public:
    ProgramApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace programstart
