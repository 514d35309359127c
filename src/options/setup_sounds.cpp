// The options dialog's sounds: the "Sound Effects" switch and the walk-through that gives each of
// eight program events a wave file of the data folder's Sounds folder.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/startup.h"
#include "options/setup_form.h"
#include "options/setup_links.h"

namespace {

constexpr const char* kWaveExtension = ".wav";

// A wave file's base name: its name without the final ".wav" (other dots stay).
std::string soundBaseName(const std::string& fileName) {
    const std::string ext = kWaveExtension;
    if (fileName.size() > ext.size() && fileName.compare(fileName.size() - ext.size(), ext.size(), ext) == 0)
        return fileName.substr(0, fileName.size() - ext.size());
    return fileName;
}

// The wave files of the Sounds folder, alphabetical.
QStringList waveFiles() {
    QDir dir(QString::fromStdString(modTLMain::DataFolder + "Sounds"));
    dir.setNameFilters({QStringLiteral("*.wav")});
    dir.setFilter(QDir::Files | QDir::CaseSensitive);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

void playSound(const std::string& name) { TLMainLink::sounds().SoundEffects(name, 1); }

}  // namespace

void Setup::buildSoundFrame(QWidget* page) {
    frameSndDemo = new QGroupBox("Sound Setup", page);
    auto* layout = new QVBoxLayout(frameSndDemo);
    labelSndDemo = new QLabel(frameSndDemo);
    cboSoundFiles = new QListWidget(frameSndDemo);
    cboSoundFiles->installEventFilter(this);
    auto* buttons = new QHBoxLayout;
    PlaySndDemo = new QPushButton("Play", frameSndDemo);
    SndDemo = new QPushButton("Next", frameSndDemo);
    buttons->addWidget(PlaySndDemo);
    buttons->addWidget(SndDemo);
    buttons->addStretch(1);
    layout->addWidget(labelSndDemo);
    layout->addWidget(cboSoundFiles, 1);
    layout->addLayout(buttons);
    page->layout()->addWidget(frameSndDemo);
    frameSndDemo->hide();

    connect(SoundOpt, &QCheckBox::toggled, this, [this] { SoundOpt_Click(); });
    connect(SndSetup, &QPushButton::clicked, this, [this] { SndSetup_Click(); });
    connect(SndDemo, &QPushButton::clicked, this, [this] { SndDemo_Click(); });
    connect(PlaySndDemo, &QPushButton::clicked, this, [this] { PlaySndDemo_Click(); });
    connect(cboSoundFiles, &QListWidget::currentRowChanged, this, [this] { cboSoundFiles_Click(); });
}

void Setup::SoundOpt_Click() {
    writeCheck(SoundOpt, "Options", "Sound");
    SetupLinks::setupLink<SetupLinks::MainWindowView>().showSoundIcon(SoundOpt->isChecked());
}

void Setup::SndSetup_Click() {
    frameSndDemo->show();
    frameOptions->hide();
    SoundStep = 0;
    SoundSetupActive = true;
    SndDemo->setText("Next");
    {
        m_programSelect = true;
        cboSoundFiles->clear();
        cboSoundFiles->addItems(waveFiles());
        cboSoundFiles->setCurrentRow(-1);
        m_programSelect = false;
    }
    SndDemo_Click();
}

void Setup::SndDemo_Click() {
    if (SoundStep == 8) {
        frameSndDemo->hide();
        frameOptions->show();
        return;
    }
    ++SoundStep;
    const SoundEvent& e = kSoundEvents[SoundStep - 1];
    labelSndDemo->setText(e.caption);
    selectSoundEntries(modTLC::Get_Config_Value("Sounds", e.key, e.key));
}

// Selects the entries whose base name is `value` (the last one stays selected); the program's
// selection neither stores nor plays anything.
void Setup::selectSoundEntries(const std::string& value) {
    m_programSelect = true;
    for (int i = 0; i < cboSoundFiles->count(); ++i)
        if (soundBaseName(cboSoundFiles->item(i)->text().toStdString()) == value) cboSoundFiles->setCurrentRow(i);
    m_programSelect = false;
}

void Setup::cboSoundFiles_Click() {
    if (m_programSelect) return;
    if (ArrowBrowsing) {
        ArrowBrowsing = false;
        return;
    }
    const QListWidgetItem* item = cboSoundFiles->currentItem();
    if (!item) return;
    const std::string base = soundBaseName(item->text().toStdString());
    const std::string caption = labelSndDemo->text().toStdString();
    for (const SoundEvent& e : kSoundEvents) {
        if (caption == e.caption) {
            modTLC::Set_Config_Value("Sounds", e.key, base);
            break;
        }
    }
    playSound(base);
}

void Setup::PlaySndDemo_Click() {
    if (!SoundSetupActive || SoundStep < 1 || SoundStep > 8) return;
    const SoundEvent& e = kSoundEvents[SoundStep - 1];
    if (SoundStep == 3) playSound(modTLC::Get_Config_Value("Sounds", "AddItem", "AddItem"));
    playSound(modTLC::Get_Config_Value("Sounds", e.key, e.key));
}

bool Setup::eventFilter(QObject* watched, QEvent* e) {
    if (themeEnter(watched, e)) return true;
    if (watched == cboSoundFiles && (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        // Browsing the list with the arrow keys neither assigns nor plays a file; a key that
        // moved nothing (Up on the first entry) leaves no mark for the next click.
        if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down)
            ArrowBrowsing = e->type() == QEvent::KeyPress;
    }
    if (e->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < 6; ++i) {
            if (watched == ColorSample[static_cast<size_t>(i)]) {
                ColorSample_Click(i);
                return true;
            }
        }
    }
    if (e->type() == QEvent::FocusOut && !m_checkingBox) {
        if (watched == ConnectTimeBox) Connecttimebox_LostFocus();
        else if (watched == HangupTimeBox) HangupTimeBox_LostFocus();
        else if (watched == RetryTimeBox) RetryTimeBox_LostFocus();
        else if (watched == MaxAttemptsBox) MaxAttemptsBox_LostFocus();
        // These keep what the user typed while another window is in front.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == AUOTimeMinbox) AUOTimeMinbox_LostFocus();
            else if (watched == txtAutoAddMin) txtAutoAddMin_LostFocus();
            else if (watched == txtAutoAddMax) txtAutoAddMax_LostFocus();
            else if (watched == txtUpdateServer) {
                // A press on Cancel takes the focus before it is a click: the box gives way to it.
                if (reason == Qt::MouseFocusReason && QApplication::focusWidget() == Cancel) dropRefusedServer();
                txtUpdateServer_LostFocus();
            }
        }
    }
    return QWidget::eventFilter(watched, e);
}
