#include "mainwindow/sounds.h"

#include <QMouseEvent>
#include <QPointer>
#include <QStyle>

#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "items/bid_status.h"
#include "platform/sound_player.h"
#include "platform/timers.h"

namespace {
QPointer<SoundIcon> g_icon;
}

namespace TLMainSounds {

void SoundEffects(const std::string& Name, int Times) {
    TLMainState::SoundPlaying = -1;
    const std::string path = modTLMain::DataFolder + kSoundsFolder + Name + ".wav";
    for (int i = 0; i < Times; ++i) {
        // A key press or a grid click handled here ends the repetitions.
        platform::timers().doEvents();
        if (!TLMainState::SoundPlaying) break;
        platform::soundPlayer().playWave(path);
    }
    TLMainState::SoundPlaying = 0;
}

bool Sound_On() { return TLMainItems::Config_True("Options", "Sound", false); }

void Toggle_Sound() {
    if (Sound_On()) {
        modTLC::Set_Config_Value("Options", "Sound", "0");
        if (g_icon) g_icon->setSoundOn(false);
        TLMainLink::statusLine().setStatus("Sound is Off....");
    } else {
        modTLC::Set_Config_Value("Options", "Sound", "1");
        if (g_icon) g_icon->setSoundOn(true);
        TLMainLink::statusLine().setStatus("Sound is On....");
        SoundEffects(modTLC::Get_Config_Value("Sounds", "General", "General"), 1);
    }
}

}  // namespace TLMainSounds

SoundIcon::SoundIcon(QWidget* parent) : QLabel(parent) {
    setObjectName("SoundIcon");
    setToolTip("Click to Turn Sound On/Off");
    setSoundOn(false);
    g_icon = this;
}

SoundIcon::~SoundIcon() = default;

void SoundIcon::Show_Sound_State() { setSoundOn(TLMainSounds::Sound_On()); }

void SoundIcon::setSoundOn(bool on) {
    m_on = on;
    const QIcon icon = style()->standardIcon(on ? QStyle::SP_MediaVolume : QStyle::SP_MediaVolumeMuted);
    setPixmap(icon.pixmap(16, 16));
}

void SoundIcon::SoundIcon_Click() { TLMainSounds::Toggle_Sound(); }

SoundIcon* SoundIcon::current() { return g_icon; }

void SoundIcon::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) SoundIcon_Click();
    QLabel::mouseReleaseEvent(e);
}
