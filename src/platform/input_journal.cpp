#include "platform/input_journal.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <thread>
#include <cstdlib>
#include <memory>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/record.h>
#include <X11/keysym.h>

namespace platform {
namespace {

struct KeyPair {
    unsigned long keysym;
    int vk;
};

// Key symbols that have a virtual key of their own (letters and digits are computed).
constexpr KeyPair kKeys[] = {
    {XK_BackSpace, 8},   {XK_Tab, 9},         {XK_Return, 13},     {XK_Shift_L, 16},   {XK_Shift_R, 16},
    {XK_Control_L, 17},  {XK_Control_R, 17},  {XK_Alt_L, 18},      {XK_Alt_R, 18},     {XK_Pause, 19},
    {XK_Caps_Lock, 20},  {XK_Escape, 27},     {XK_space, 32},      {XK_Prior, 33},     {XK_Next, 34},
    {XK_End, 35},        {XK_Home, 36},       {XK_Left, 37},       {XK_Up, 38},        {XK_Right, 39},
    {XK_Down, 40},       {XK_Print, 44},      {XK_Insert, 45},     {XK_Delete, 46},    {XK_Super_L, 91},
    {XK_Super_R, 92},    {XK_Menu, 93},       {XK_KP_Multiply, 106}, {XK_KP_Add, 107}, {XK_KP_Subtract, 109},
    {XK_KP_Decimal, 110}, {XK_KP_Divide, 111}, {XK_Num_Lock, 144}, {XK_Scroll_Lock, 145}, {XK_semicolon, 186},
    {XK_equal, 187},     {XK_comma, 188},     {XK_minus, 189},     {XK_period, 190},   {XK_slash, 191},
    {XK_grave, 192},     {XK_bracketleft, 219}, {XK_backslash, 220}, {XK_bracketright, 221}, {XK_apostrophe, 222},
    {XK_KP_Enter, 13},
};

class X11Journal final : public InputJournal {
public:
    // The connections end with the process: closing them at exit could meet a display that
    // has gone already, which Xlib answers by ending the process with an error.
    ~X11Journal() override {
        if (m_thread.joinable()) m_thread.detach();  // a recording still running ends with the process
    }

    bool available() override { return open(); }

    bool startRecording(std::function<void(const JournalEvent&)> onEvent) override {
        if (!open() || m_context) return false;
        Display* data = XOpenDisplay(nullptr);  // the recorded events come on a connection of their own
        if (!data) return false;
        XRecordRange* range = XRecordAllocRange();
        if (!range) {
            XCloseDisplay(data);
            return false;
        }
        range->device_events.first = KeyPress;
        range->device_events.last = MotionNotify;
        XRecordClientSpec clients = XRecordAllClients;
        m_context = XRecordCreateContext(m_ctrl, 0, &clients, 1, &range, 1);
        XFree(range);
        if (!m_context) {
            XCloseDisplay(data);
            return false;
        }
        XSync(m_ctrl, False);
        m_data = data;
        m_onEvent = std::move(onEvent);
        // The data connection waits for the recorded input on a thread of its own, which only
        // hands each event over to the UI thread; nothing else touches that connection.
        auto* closure = new Closure{this, ++m_generation};
        const XRecordContext context = m_context;
        m_thread = std::thread([data, context, closure] {
            XRecordEnableContext(data, context, &X11Journal::intercept, reinterpret_cast<XPointer>(closure));
            delete closure;
        });
        // The server holds recorded input back until it next flushes output to its clients; a
        // round trip on the control connection now and then brings that about.
        m_nudge = std::make_unique<QTimer>();
        m_nudge->setInterval(50);
        QObject::connect(m_nudge.get(), &QTimer::timeout, [this] { XSync(m_ctrl, False); });
        m_nudge->start();
        return true;
    }

    void stopRecording() override {
        if (!m_context) return;
        ++m_generation;  // what is still on its way to the UI thread is dropped
        if (m_nudge) {  // possibly inside its own signal: it goes once that has returned
            m_nudge->stop();
            m_nudge.release()->deleteLater();
        }
        XRecordDisableContext(m_ctrl, m_context);
        XSync(m_ctrl, False);
        if (m_thread.joinable()) m_thread.join();
        XRecordFreeContext(m_ctrl, m_context);
        XSync(m_ctrl, False);
        m_context = 0;
        if (m_data) XCloseDisplay(m_data);
        m_data = nullptr;
        m_onEvent = nullptr;
    }

    int screenWidth() override { return open() ? DisplayWidth(m_ctrl, DefaultScreen(m_ctrl)) : 0; }
    int screenHeight() override { return open() ? DisplayHeight(m_ctrl, DefaultScreen(m_ctrl)) : 0; }

    void key(int virtualKey, bool down) override {
        if (!open()) return;
        const KeyCode code = XKeysymToKeycode(m_ctrl, Keysym_Of_Virtual_Key(virtualKey));
        if (code == 0) return;
        XTestFakeKeyEvent(m_ctrl, code, down ? True : False, CurrentTime);
        XFlush(m_ctrl);
    }

    void moveAbsolute(int x, int y) override {
        if (!open()) return;
        const long px = static_cast<long>(x) * screenWidth() / 65536;
        const long py = static_cast<long>(y) * screenHeight() / 65536;
        XTestFakeMotionEvent(m_ctrl, -1, static_cast<int>(px), static_cast<int>(py), CurrentTime);
        XFlush(m_ctrl);
    }

    void button(int which, bool down) override {
        if (!open()) return;
        static const unsigned int kButtons[] = {0, 1, 3, 2};  // left, right, middle
        if (which < 1 || which > 3) return;
        XTestFakeButtonEvent(m_ctrl, kButtons[which], down ? True : False, CurrentTime);
        XFlush(m_ctrl);
    }

    bool escapeDown() override {
        if (!open()) return false;
        char keys[32] = {};
        XQueryKeymap(m_ctrl, keys);
        const KeyCode esc = XKeysymToKeycode(m_ctrl, XK_Escape);
        return esc != 0 && (keys[esc / 8] & (1 << (esc % 8))) != 0;
    }

private:
    bool open() {
        if (m_ctrl) return true;
        if (m_tried) return false;
        m_tried = true;
        if (!std::getenv("DISPLAY")) return false;
        Display* d = XOpenDisplay(nullptr);
        if (!d) return false;
        int major = 0, minor = 0, ev = 0, err = 0;
        if (!XRecordQueryVersion(d, &major, &minor) || !XTestQueryExtension(d, &ev, &err, &major, &minor)) {
            XCloseDisplay(d);
            return false;
        }
        m_ctrl = d;
        return true;
    }

    struct Closure {
        X11Journal* self;
        int generation;
    };
    struct Raw {
        int type, detail, rootX, rootY;
        uint32_t time;
    };

    // On the record thread: the event's fields go to the UI thread.
    static void intercept(XPointer closure, XRecordInterceptData* data) {
        const auto* c = reinterpret_cast<const Closure*>(closure);
        if (data->category == XRecordFromServer && data->data) {
            const auto* e = reinterpret_cast<const xEvent*>(data->data);
            const Raw raw{e->u.u.type & 0x7f, e->u.u.detail, e->u.keyButtonPointer.rootX, e->u.keyButtonPointer.rootY,
                          static_cast<uint32_t>(e->u.keyButtonPointer.time)};
            X11Journal* self = c->self;
            const int generation = c->generation;
            QMetaObject::invokeMethod(
                qApp,
                [self, generation, raw] {
                    if (generation == self->m_generation && self->m_onEvent) self->deliver(raw);
                },
                Qt::QueuedConnection);
        }
        XRecordFreeData(data);
    }

    void deliver(const Raw& e) {
        const int type = e.type;
        JournalEvent out;
        out.time = static_cast<int32_t>(e.time);
        switch (type) {
            case KeyPress:
            case KeyRelease: {
                const unsigned long sym = XkbKeycodeToKeysym(m_ctrl, e.detail, 0, 0);
                out.paramL = Virtual_Key_Of_Keysym(sym);
                if (out.paramL == 0) return;
                const bool down = type == KeyPress;
                if (out.paramL == 18) m_altDown = down;
                const bool system = m_altDown || out.paramL == 18;
                out.message = down ? (system ? 260 : 256) : (system ? 261 : 257);
                out.paramH = e.detail;
                break;
            }
            case ButtonPress:
            case ButtonRelease: {
                const bool down = type == ButtonPress;
                switch (e.detail) {
                    case 1: out.message = down ? 513 : 514; break;
                    case 2: out.message = down ? 519 : 520; break;
                    case 3: out.message = down ? 516 : 517; break;
                    default:
                        if (!down) return;
                        out.message = 522;
                        break;
                }
                out.paramL = e.rootX;
                out.paramH = e.rootY;
                break;
            }
            case MotionNotify:
                out.message = 512;
                out.paramL = e.rootX;
                out.paramH = e.rootY;
                break;
            default: return;
        }
        // The handler may end the recording, which lets go of m_onEvent: call a copy.
        const auto onEvent = m_onEvent;
        onEvent(out);
    }

    Display* m_ctrl = nullptr;
    Display* m_data = nullptr;
    XRecordContext m_context = 0;
    bool m_tried = false;
    bool m_altDown = false;
    std::atomic<int> m_generation{0};
    std::thread m_thread;
    std::unique_ptr<QTimer> m_nudge;
    std::function<void(const JournalEvent&)> m_onEvent;
};

InputJournal* g_journal = nullptr;

}  // namespace

int Virtual_Key_Of_Keysym(unsigned long keysym) {
    if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>('A' + (keysym - XK_a));
    if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>('A' + (keysym - XK_A));
    if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>('0' + (keysym - XK_0));
    if (keysym >= XK_F1 && keysym <= XK_F24) return static_cast<int>(112 + (keysym - XK_F1));
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<int>(96 + (keysym - XK_KP_0));
    for (const KeyPair& k : kKeys)
        if (k.keysym == keysym) return k.vk;
    return 0;
}

unsigned long Keysym_Of_Virtual_Key(int vk) {
    if (vk >= 'A' && vk <= 'Z') return XK_a + static_cast<unsigned long>(vk - 'A');
    if (vk >= '0' && vk <= '9') return XK_0 + static_cast<unsigned long>(vk - '0');
    if (vk >= 112 && vk <= 135) return XK_F1 + static_cast<unsigned long>(vk - 112);
    if (vk >= 96 && vk <= 105) return XK_KP_0 + static_cast<unsigned long>(vk - 96);
    for (const KeyPair& k : kKeys)
        if (k.vk == vk) return k.keysym;
    return 0;
}

InputJournal& inputJournal() {
    static X11Journal real;
    return g_journal ? *g_journal : real;
}

void setInputJournalForTests(InputJournal* journal) { g_journal = journal; }

}  // namespace platform
