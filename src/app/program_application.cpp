#include "app/program_application.h"

#include <QEvent>
#include <QObject>
#include <exception>
#include <string>

#include "foundation/logs.h"

namespace programstart {
namespace {

// "TLMain (event 1)": what the error log names as the procedure of an event handler.
std::string handlerName(QObject* receiver, QEvent* event) {
    std::string name = receiver ? receiver->metaObject()->className() : "QObject";
    if (receiver && !receiver->objectName().isEmpty()) name += " " + receiver->objectName().toStdString();
    return name + " (event " + std::to_string(event ? static_cast<int>(event->type()) : 0) + ")";
}

}  // namespace

bool Deliver_Guarded(QObject* receiver, QEvent* event, const std::function<bool()>& deliver) {
    try {
        return deliver();
    } catch (const std::exception& e) {
        modTLMain::Log_Exception(e, handlerName(receiver, event));
    } catch (...) {
        modTLMain::Log_Error(5, "Unknown error", handlerName(receiver, event));
    }
    return false;
}

bool ProgramApplication::notify(QObject* receiver, QEvent* event) {
    return Deliver_Guarded(receiver, event, [&] { return QApplication::notify(receiver, event); });
}

}  // namespace programstart
