#include "mainwindow/key_sight.h"

#include <QKeyEvent>

namespace TLMainKeys {

bool KeySight::firstSight(QWidget* receiver, const QKeyEvent* key) {
    const bool step = key == m_event && key->type() == m_type && key->key() == m_key &&
                      static_cast<int>(key->modifiers()) == m_modifiers && key->timestamp() == m_timestamp &&
                      m_receiver && receiver != m_receiver && receiver->isAncestorOf(m_receiver);
    m_event = key;
    m_type = key->type();
    m_key = key->key();
    m_modifiers = static_cast<int>(key->modifiers());
    m_timestamp = key->timestamp();
    m_receiver = receiver;
    return !step;
}

}  // namespace TLMainKeys
