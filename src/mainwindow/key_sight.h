// key_sight.h — tells a key's first arrival at the main window from its later steps.
//
// The main window watches every key of the program before the control that has the focus. A key
// the focus control leaves unused goes on to its parents as the same event object, and the
// watcher sees it again at each: those steps are not new keys. The window system, on its side,
// may hand every new key over at one and the same address, so an address alone never tells a
// new key from a step of the last one. A step is the same object with the same key, kind,
// modifiers and time stamp, arriving at a parent of the widget where the key was last seen.
#pragma once

#include <QEvent>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace TLMainKeys {

class KeySight {
public:
    // True when this arrival is a new key; false for a later step of the key seen last.
    bool firstSight(QWidget* receiver, const QKeyEvent* key);

private:
    const QEvent* m_event = nullptr;
    QEvent::Type m_type = QEvent::None;
    int m_key = 0;
    int m_modifiers = 0;
    quint64 m_timestamp = 0;
    QPointer<QWidget> m_receiver;
};

}  // namespace TLMainKeys
