#include "platform/sound_player.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace platform {
namespace {

// One sound effect for the whole program, so a new sound replaces the one still playing. It
// belongs to the application object and goes with it.
class EffectPlayer final : public SoundPlayer {
public:
    void playWave(const std::string& path) override {
        QSoundEffect* effect = this->effect();
        if (!effect) return;
        effect->stop();
        const QFileInfo file(QString::fromStdString(path));
        if (!file.isFile() || !file.isReadable()) return;
        const QUrl source = QUrl::fromLocalFile(file.absoluteFilePath());
        if (effect->source() != source) effect->setSource(source);
        effect->play();  // starts once loaded; a file that does not decode stays silent
    }

private:
    QSoundEffect* effect() {
        if (!m_effect) {
            QCoreApplication* app = QCoreApplication::instance();
            if (!app) return nullptr;
            m_effect = new QSoundEffect(app);
        }
        return m_effect;
    }
    QPointer<QSoundEffect> m_effect;
};

SoundPlayer* g_override = nullptr;

}  // namespace

SoundPlayer& soundPlayer() {
    static EffectPlayer real;
    return g_override ? *g_override : real;
}

void setSoundPlayerForTests(SoundPlayer* player) { g_override = player; }

}  // namespace platform
