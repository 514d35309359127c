// The options dialog's Appearance page (grid colours, optional columns, column widths, the day of
// the week) and the time display format of the Time Sync page.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/options_state.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/item_grid_link.h"
#include "items/item_grid_model.h"
#include "options/setup_form.h"
#include "options/setup_links.h"

namespace {

// The in-memory grid colours, in the order of Setup::kColourKeys.
long* gridColour(int index) {
    long* colours[7] = {&TLMainItems::ColorBid,    &TLMainItems::ColorWintally, &TLMainItems::ColorVal,
                        &TLMainItems::ColorHiBid,  &TLMainItems::ColorOutBid,   &TLMainItems::ColorGrid,
                        &TLMainItems::ColorAlert};
    return colours[index];
}

SetupLinks::MainWindowView& view() { return SetupLinks::setupLink<SetupLinks::MainWindowView>(); }

// The sample of the grid's own colour ("Grid & Text Box").
constexpr int kGridSample = 5;

std::string widthKey(int column) { return "ColWidth" + std::to_string(column); }

long storedWidth(int column) { return vb::CLng(vb::Val(modTLC::Get_Setting("Options", widthKey(column)))); }

}  // namespace

void Setup::buildAppearancePage(QWidget* page) {
    auto* layout = new QVBoxLayout(page);

    auto* colours = new QGroupBox("Colors", page);
    auto* coloursLayout = new QGridLayout(colours);
    coloursLayout->addWidget(new QLabel("Click Box to Select", colours), 0, 0, 1, 3);
    const char* captions[6] = {"Bid Set", "Wintally Set", "Bid Validated", "High Bidder", "OutBid", "Grid & Text Box"};
    for (int i = 0; i < 6; ++i) {
        auto* sample = new QLabel(captions[i], colours);
        sample->setAlignment(Qt::AlignCenter);
        sample->setFrameShape(QFrame::Box);
        sample->setAutoFillBackground(true);
        sample->setMinimumWidth(90);
        sample->installEventFilter(this);
        ColorSample[static_cast<size_t>(i)] = sample;
        coloursLayout->addWidget(sample, 1 + i / 3, i % 3);
    }
    SetDefColor = new QPushButton("Default Colors", colours);
    coloursLayout->addWidget(SetDefColor, 3, 0);
    layout->addWidget(colours);

    auto* status = new QGroupBox("Grid Columns Status", page);
    auto* statusLayout = new QHBoxLayout(status);
    const char* columns[6] = {"Alarm ", "Item #", "Date", "Time", "Group", "Ship"};
    for (int i = 0; i < 6; ++i) {
        chkCols[static_cast<size_t>(i)] = new QCheckBox(columns[i], status);
        statusLayout->addWidget(chkCols[static_cast<size_t>(i)]);
    }
    chkDayofWk = new QCheckBox("Day", status);
    statusLayout->addWidget(chkDayofWk);
    layout->addWidget(status);

    auto* widths = new QGroupBox("Grid Columns Width", page);
    auto* widthsLayout = new QVBoxLayout(widths);
    auto* choices = new QHBoxLayout;
    optColAdjGroup = optionGroup(optColAdj.data(), {"High Bid", "My Bid", "Bids", "Time", "Date", "Grps", "Ship"},
                                 widths, choices, 3, -1, [this](int c) { optColAdj_Click(c); });
    widthsLayout->addLayout(choices);
    auto* slider = new QHBoxLayout;
    sliderColAdj = new QSlider(Qt::Horizontal, widths);
    sliderColAdj->setRange(-50, 50);
    sliderColAdj->setValue(0);
    cmdRstColWidths = new QPushButton("Reset", widths);
    slider->addWidget(sliderColAdj, 1);
    slider->addWidget(cmdRstColWidths);
    widthsLayout->addLayout(slider);
    layout->addWidget(widths);
    layout->addStretch(1);

    connect(SetDefColor, &QPushButton::clicked, this, [this] { SetDefColor_Click(); });
    for (int i = 0; i < 6; ++i)
        connect(chkCols[static_cast<size_t>(i)], &QCheckBox::toggled, this, [this, i] { chkCols_Click(i); });
    connect(chkDayofWk, &QCheckBox::toggled, this, [this] { chkDayofWk_Click(); });
    connect(sliderColAdj, &QSlider::valueChanged, this, [this] { sliderColAdj_Change(); });
    connect(cmdRstColWidths, &QPushButton::clicked, this, [this] { cmdRstColWidths_Click(); });
}

// A sample shows its colour with its caption in black or white, whichever reads on it; the grid's
// sample without a colour chosen shows the desktop's.
void Setup::showColour(int sample, long colour) {
    QLabel* l = ColorSample[static_cast<size_t>(sample)];
    QPalette p = l->palette();
    const TLMainItems::ColourPair c = TLMainItems::Colours_For(colour, QApplication::palette(l));
    p.setColor(QPalette::Window, c.back);
    p.setColor(QPalette::WindowText, c.text);
    l->setPalette(p);
}

// The grid and the item-number box take the grid colour; every row is drawn again.
void Setup::Apply_Grid_Colour() {
    view().setGridBackColour(TLMainItems::Grid_Back_Colour());
    TLMainItems::itemGrid().loadItemGrid();
}

void Setup::ColorSample_Click(int index) {
    if (index < 0 || index > 5) return;
    const auto chosen =
        SetupLinks::setupLink<SetupLinks::SystemDialogs>().chooseColour(*gridColour(index), this);
    if (!chosen) return;
    modTLC::Set_Config_Value("Options", kColourKeys[index], std::to_string(*chosen));
    *gridColour(index) = *chosen;
    showColour(index, *chosen);
    Apply_Grid_Colour();
}

void Setup::SetDefColor_Click() {
    for (int i = 0; i < 7; ++i) {
        const std::string def = modTLC::Setting_Default("Options", kColourKeys[i]);
        // The grid's own colour goes back to no colour chosen: the desktop's.
        if (i == kGridSample)
            modTLC::Delete_Config_Key("Options", kColourKeys[i]);
        else
            modTLC::Set_Config_Value("Options", kColourKeys[i], def);
        const std::string v = modTLC::Get_Config_Value("Options", kColourKeys[i], def);
        *gridColour(i) = vb::CLng(vb::Val(vb::IsNumeric(v) ? v : def));
        if (i < 6) showColour(i, i == kGridSample ? TLMainItems::Grid_Back_Colour() : *gridColour(i));
    }
    Apply_Grid_Colour();
}

// ---- Optional columns and widths ----

void Setup::setOptionalColumnWidths(long mask) {
    view().setColumnWidth(0, (mask & 1) ? 250 : 0);
    view().setColumnWidth(1, (mask & 2) ? 1350 : 0);
    view().setColumnWidth(7, (mask & 4) ? storedWidth(7) : 0);
    view().setColumnWidth(6, (mask & 8) ? storedWidth(6) : 0);
    view().setColumnWidth(8, (mask & 16) ? storedWidth(8) : 0);
    view().setColumnWidth(9, (mask & 32) ? storedWidth(9) : 0);
}

void Setup::chkCols_Click(int index) {
    long mask = vb::CLng(vb::Val(modTLC::Get_Setting("Options", "Columns"))) & 0xFFFF;
    const long bit = 1L << index;
    if (chkCols[static_cast<size_t>(index)]->isChecked())
        mask |= bit;
    else
        mask &= ~bit;
    modTLC::Set_Config_Value("Options", "Columns", std::to_string(mask));
    setOptionalColumnWidths(mask);
    view().ResizeWindow();
}

void Setup::optColAdj_Click(int index) {
    TLMainState::ColumnToAdjust = index;
    if (index < 3 || index > 9) return;
    const double base = static_cast<double>(kBaseWidth[index]);
    const long long pos = vb::RoundHalfEven((static_cast<double>(view().columnWidth(index)) / base - 1) * 100);
    // Placing the slider is not a move of it: the width stays as it is.
    const QSignalBlocker quiet(sliderColAdj);
    sliderColAdj->setValue(static_cast<int>(std::clamp<long long>(pos, -50, 50)));
}

void Setup::storeColumnWidth(int column, long width) {
    view().setColumnWidth(column, width);
    modTLC::Set_Config_Value("Options", widthKey(column), std::to_string(width));
    view().ResizeWindow();
}

void Setup::sliderColAdj_Change() {
    const int c = TLMainState::ColumnToAdjust;
    if (c < 3 || c > 9) return;
    const double base = static_cast<double>(kBaseWidth[c]);
    storeColumnWidth(c, static_cast<long>(vb::RoundHalfEven(base + base * sliderColAdj->value() / 100.0)));
}

void Setup::cmdRstColWidths_Click() {
    const int c = TLMainState::ColumnToAdjust;
    if (c < 3 || c > 9) return;
    storeColumnWidth(c, kBaseWidth[c]);
}

// ---- Time format ----

void Setup::optTimeFormat_Click(int index) {
    modTLC::Set_Config_Value("Locale", "TimeFormat", std::to_string(index));
    int twelve = index;
    if (index == 0) twelve = modTLMain::Get_Locale_Time_Format() == "0" ? 1 : 2;
    UserState::TimeFormat12 = twelve;
    const bool seconds = vb::Val(modTLC::Get_Setting("Locale", "ShowSecs")) != 0;
    if (twelve == 1)
        TLMainState::TimeDisplayFormat = seconds ? "h:mm:ss am/pm" : "h:mm am/pm";
    else
        TLMainState::TimeDisplayFormat = seconds ? "hh:mm:ss" : "hh:mm";
}

void Setup::ShowSecs_Click() {
    modTLC::Set_Config_Value("Locale", "ShowSecs", ShowSecs->isChecked() ? "1" : "0");
    const int index = static_cast<int>(vb::Val(modTLC::Get_Setting("Locale", "TimeFormat")));
    optTimeFormat_Click(index >= 0 && index <= 2 ? index : 0);
}

// ---- Load steps ----

// Step 16.
void Setup::loadTimeFormat() {
    chooseOption(optTimeFormatGroup, static_cast<int>(loadNumber("Locale", "TimeFormat", 0, 2, "0", true)));
    loadCheck(ShowSecs, "Locale", "ShowSecs");
}

// Step 18: the load ends here.
void Setup::loadColoursAndColumns() {
    for (int i = 0; i < 7; ++i) {
        const long v = loadNumber("Options", kColourKeys[i], 0, 16777215, "0");
        *gridColour(i) = v;
        if (i < 6) showColour(i, i == kGridSample ? TLMainItems::Grid_Back_Colour() : v);
    }
    const long mask = loadNumber("Options", "Columns", 0, 65535, TLMainItems::kDefaultColumnsText);
    for (int i = 0; i < 6; ++i) chkCols[static_cast<size_t>(i)]->setChecked((mask & (1L << i)) != 0);
}
