// The sound cues the program ships: one short 16-bit PCM wave file for every sound the presets
// name, each fitting its event, and run.sh's install step that puts them into the data folder's
// Sounds/ without replacing a file the user put there.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/config_store.h"
#include "foundation/startup.h"
#include "temp_data_folder.h"

using namespace testsupport;

namespace {

const std::string kMadeSounds = TOLVANE_SOUNDS_FOLDER;

std::string readFile(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

uint32_t le32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<size_t>(i)]);
    return v;
}
uint16_t le16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
}

struct Wave {
    uint16_t format = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    std::vector<double> samples;  // -1 .. 1
    double seconds() const { return rate ? static_cast<double>(samples.size()) / rate : 0; }
};

// A RIFF wave file's format and its samples (16-bit mono read as such).
std::optional<Wave> readWave(const std::string& bytes) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return std::nullopt;
    Wave w;
    bool haveFormat = false, haveData = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const size_t size = le32(bytes, at + 4), body = at + 8;
        if (body + size > bytes.size()) return std::nullopt;
        if (id == "fmt " && size >= 16) {
            w.format = le16(bytes, body);
            w.channels = le16(bytes, body + 2);
            w.rate = le32(bytes, body + 4);
            w.bits = le16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data" && haveFormat && w.bits == 16) {
            for (size_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<int16_t>(le16(bytes, body + i)) / 32768.0);
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFormat || !haveData) return std::nullopt;
    return w;
}

double peak(const std::vector<double>& s) {
    double p = 0;
    for (double v : s) p = std::max(p, std::abs(v));
    return p;
}

// The pitch (Hz) over `seconds` from sample `from`, counted by the rising zero crossings.
double pitchAt(const Wave& w, size_t from, double seconds) {
    const size_t n = std::min(w.samples.size(), from + static_cast<size_t>(seconds * w.rate));
    int crossings = 0;
    for (size_t i = from + 1; i < n; ++i)
        if (w.samples[i - 1] < 0 && w.samples[i] >= 0) ++crossings;
    return crossings / seconds;
}

// Where the sound is heard: the first and the last sample above a twentieth of its peak.
std::pair<size_t, size_t> heard(const Wave& w) {
    const double level = peak(w.samples) / 20;
    size_t first = 0, last = w.samples.size();
    while (first < last && std::abs(w.samples[first]) < level) ++first;
    while (last > first && std::abs(w.samples[last - 1]) < level) --last;
    return {first, last};
}

// How many times the sound strikes: 5 ms stretches whose loudness climbs past half the peak after
// having dropped below a fifth of it.
int strikes(const Wave& w) {
    const size_t step = w.rate / 200;
    const double p = peak(w.samples);
    int count = 0;
    bool quiet = true;
    for (size_t at = 0; at + step <= w.samples.size(); at += step) {
        double loud = 0;
        for (size_t i = at; i < at + step; ++i) loud = std::max(loud, std::abs(w.samples[i]));
        if (quiet && loud > p / 2) {
            ++count;
            quiet = false;
        } else if (loud < p / 5) {
            quiet = true;
        }
    }
    return count;
}

std::optional<Wave> madeSound(const std::string& name) { return readWave(readFile(kMadeSounds + "/" + name + ".wav")); }

// Every sound the first-run presets name ships as a short, audible 16-bit PCM wave file.
TEST(ShippedSounds, EverySoundThePresetsNameIsAShortPcmWave) {
    TempDataFolder data;
    modTLMain::ResetStartupForTests();
    modTLC::ResetForTests();
    modTLMain::DataFolder = data.dataFolder();
    modTLMain::Set_Default_Config();
    const std::vector<std::string> keys = modTLC::Get_Section_Keys("Sounds");
    EXPECT_EQ(keys.size(), 7u);
    for (const std::string& key : keys) {
        const std::string name = modTLC::Get_Config_Value("Sounds", key, key);
        SCOPED_TRACE(name);
        const auto w = madeSound(name);
        ASSERT_TRUE(w) << "no readable wave file " << kMadeSounds << "/" << name << ".wav";
        EXPECT_EQ(w->format, 1) << "PCM";
        EXPECT_EQ(w->channels, 1);
        EXPECT_EQ(w->bits, 16);
        EXPECT_EQ(w->rate, 22050u);
        EXPECT_GT(w->seconds(), 0.1);
        EXPECT_LT(w->seconds(), 2.0);
        EXPECT_GT(peak(w->samples), 0.3) << "loud enough to be heard";
        // Neither starts nor ends with a click.
        EXPECT_LT(std::abs(w->samples.front()), 0.01);
        EXPECT_LT(std::abs(w->samples.back()), 0.01);
    }
    modTLC::ResetForTests();
    modTLMain::ResetStartupForTests();
}

// Each sound fits its event: a win rises and a loss falls, an alert beeps high and fast, the alarm
// clock rings.
TEST(ShippedSounds, EachSoundFitsItsEvent) {
    const double kSpan = 0.06;  // seconds of sound whose pitch is counted
    struct C {
        const char* name;
        const char* fit;
        std::function<bool(const Wave&)> fits;
    };
    const C cases[] = {
        {"Win", "rises", [&](const Wave& w) {
             const auto [first, last] = heard(w);
             return pitchAt(w, last - static_cast<size_t>(kSpan * w.rate), kSpan) > 1.5 * pitchAt(w, first, kSpan);
         }},
        {"Lose", "falls", [&](const Wave& w) {
             const auto [first, last] = heard(w);
             return pitchAt(w, last - static_cast<size_t>(kSpan * w.rate), kSpan) < 0.75 * pitchAt(w, first, kSpan);
         }},
        {"Alert", "beeps high and fast", [&](const Wave& w) {
             return strikes(w) >= 3 && w.seconds() < 1.0 && pitchAt(w, heard(w).first, kSpan) > 1000;
         }},
        {"ClockAlarm", "rings", [](const Wave& w) { return strikes(w) >= 12; }},
    };
    for (const C& c : cases) {
        const auto w = madeSound(c.name);
        ASSERT_TRUE(w) << c.name;
        EXPECT_TRUE(c.fits(*w)) << c.name << " " << c.fit;
    }
}

// run.sh's install step: the made sounds go into the data folder's Sounds/; a file of the same name
// already there is the user's own sound and stays, on every run.
TEST(ShippedSounds, TheInstallLeavesTheUsersOwnSounds) {
    TempDataFolder data;
    QDir(QString::fromStdString(data.path("Sounds"))).removeRecursively();
    auto install = [&] {
        QProcess p;
        p.start("bash", {TOLVANE_INSTALL_SOUNDS, QString::fromStdString(kMadeSounds), QString::fromStdString(data.dataFolder())});
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    const char* const kNames[] = {"AddItem", "Alert", "ClockAlarm", "DLComplete", "General", "Lose", "Win"};

    // A first install makes the folder and puts every sound in.
    ASSERT_TRUE(install());
    for (const char* name : kNames)
        EXPECT_EQ(data.read(std::string("Sounds/") + name + ".wav"), readFile(kMadeSounds + "/" + name + ".wav")) << name;

    // The user's own sounds (one replaced, one added), and one of ours deleted.
    data.write("Sounds/Win.wav", "the user's own fanfare");
    data.write("Sounds/Doorbell.wav", "the user's doorbell");
    QFile::remove(QString::fromStdString(data.path("Sounds/Lose.wav")));
    ASSERT_TRUE(install());
    EXPECT_EQ(data.read("Sounds/Win.wav"), "the user's own fanfare");
    EXPECT_EQ(data.read("Sounds/Doorbell.wav"), "the user's doorbell");
    EXPECT_EQ(data.read("Sounds/Lose.wav"), readFile(kMadeSounds + "/Lose.wav")) << "a missing sound comes back";
}

}  // namespace
