#include "bidding/bid_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "bidding/bid_email.h"
#include "bidding/bid_engine_links.h"
#include "bidding/bid_groups.h"
#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/startup.h"
#include "foundation/user_state.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/bid_status.h"
#include "items/item_grid_link.h"
#include "items/item_store.h"
#include "items/remaining_time.h"
#include "platform/message_box.h"
#include "service/page_parser.h"

namespace {

QPointer<BidForm> g_current;

constexpr int kFormWidthTwips = 8000;
constexpr int kFormHeightTwips = 7000;
constexpr int kPhotoBoxPx = 160;  // the scaled photo's designed width and height
constexpr const char* kMultipleItems = "       ******* Multiple Items Selected *******";

QString q(const std::string& s) { return QString::fromStdString(s); }

long afterBidBits(const TLMainItems::AuctionItem& item) {
    return vb::IsNumeric(vb::Trim(item.AfterBidOptions)) ? vb::CLng(vb::Trim(item.AfterBidOptions)) : 0;
}

// The main window is disabled while the dialog is open.
void enableMainWindow(bool on) {
    if (QWidget* w = TLMainLink::window().widget()) w->setEnabled(on);
}

}  // namespace

BidForm* BidForm::Current() { return g_current.data(); }

BidForm* BidForm::Show_Bid_Form(int firstRow, int lastRow, int selectedRow) {
    std::vector<std::string> numbers;
    std::string shown;
    if (!TLMainItems::AddedItemNumber.empty()) {
        numbers.push_back(TLMainItems::AddedItemNumber);
        shown = TLMainItems::AddedItemNumber;
        TLMainItems::AddedItemNumber.clear();
    } else {
        const auto& grid = TLMainItems::itemGrid();
        for (int row = firstRow; row <= lastRow; ++row)
            if (const TLMainItems::AuctionItem* it = TLMainItems::Item_At(grid.itemIndexOfRow(row)))
                numbers.push_back(it->ItemNumber);
        if (const TLMainItems::AuctionItem* it = TLMainItems::Item_At(grid.itemIndexOfRow(selectedRow)))
            shown = it->ItemNumber;
    }
    return Show_Bid_Form(numbers, shown);
}

BidForm* BidForm::Show_Bid_Form(const std::vector<std::string>& itemNumbers, const std::string& dialogItem) {
    if (g_current) g_current->Exit_Click();
    auto* form = new BidForm(itemNumbers, dialogItem);
    if (!form->Form_Load()) return nullptr;
    return form;
}

BidForm::BidForm(std::vector<std::string> itemNumbers, std::string dialogItem)
    : QDialog(nullptr), m_items(std::move(itemNumbers)), m_dialogItem(std::move(dialogItem)) {
    setObjectName("BidForm");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Tolvane Rerode II Bid Setup");
    g_current = this;

    labItemName = new QLabel(this);
    labItemName->setWordWrap(true);
    for (int i = 0; i < 3; ++i) labHiBid[i] = new QLabel(this);
    labHiBid[0]->setText("Current Bid:");
    labHiBid[2]->setText("(Reserve Not Met)");
    labHiBid[2]->hide();
    labEndTime[0] = new QLabel("End time:", this);
    labEndTime[1] = new QLabel(this);
    labEndDate = new QLabel(this);
    labBids[0] = new QLabel("Bids:", this);
    labBids[1] = new QLabel(this);
    labShipping[0] = new QLabel("Shipping:", this);
    labShipping[1] = new QLabel(this);
    labSeller[0] = new QLabel("Seller:", this);
    labSeller[1] = new QLabel(this);
    labMinBid = new QLabel(this);
    labMinBid->setToolTip("Click Me to Enter Minimum Bid Amount");
    labMinBid->installEventFilter(this);
    labMaxBidAmt = new QLabel("Your Maximum Bid:", this);
    MaxBidAmt = new QLineEdit(this);
    MaxBidAmt->installEventFilter(this);
    ItemQtyBox = new QLineEdit(this);
    txtBidTimeMin = new QLineEdit(this);
    txtBidTimeSec = new QLineEdit(this);
    AutoDial = new QCheckBox("Auto Dial before placing this Bid", this);
    chkEmailOpt = new QCheckBox("Send eMail Notification after Bid", this);
    chkShutDnOpt = new QCheckBox("Sleep/Hibernate After Bid", this);

    auto* groupFrame = new QGroupBox("Wintally Options", this);
    WTGroups = new QComboBox(groupFrame);
    WTGroups->setEditable(true);
    WTGroups->lineEdit()->setMaxLength(20);
    WTReqWins = new QComboBox(groupFrame);
    txtItemsWon = new QLineEdit(groupFrame);
    WTCtrlGroups = new QComboBox(groupFrame);
    cmdClrGrp = new QPushButton("Clear", groupFrame);

    OKBid = new QPushButton("Set Bid", this);
    ManBid = new QPushButton("Bid Now", this);
    CancelBid = new QPushButton("Cancel Bid", this);
    cmdRefresh = new QPushButton("Refresh Item", this);
    Exit = new QPushButton("Exit", this);
    // Enter in the amount box is Set Bid, once: no button takes Enter as the default.
    for (QPushButton* b : {cmdClrGrp, OKBid, ManBid, CancelBid, cmdRefresh, Exit}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    ItemPixResize = new QLabel(this);
    ItemPixResize->setFixedSize(kPhotoBoxPx, kPhotoBoxPx);
    ItemPixResize->setAlignment(Qt::AlignCenter);
    labUD = new QLabel("Updating Item", this);

    // Layout.
    auto* facts = new QGridLayout();
    facts->addWidget(labHiBid[0], 0, 0);
    auto* price = new QHBoxLayout();
    price->addWidget(labHiBid[1]);
    price->addWidget(labHiBid[2]);
    price->addStretch(1);
    facts->addLayout(price, 0, 1);
    facts->addWidget(labEndTime[0], 1, 0);
    auto* ends = new QHBoxLayout();
    ends->addWidget(labEndTime[1]);
    ends->addWidget(labEndDate);
    ends->addStretch(1);
    facts->addLayout(ends, 1, 1);
    facts->addWidget(labBids[0], 2, 0);
    facts->addWidget(labBids[1], 2, 1);
    facts->addWidget(labShipping[0], 3, 0);
    facts->addWidget(labShipping[1], 3, 1);
    facts->addWidget(labSeller[0], 4, 0);
    facts->addWidget(labSeller[1], 4, 1);
    auto* top = new QHBoxLayout();
    top->addLayout(facts, 1);
    top->addWidget(ItemPixResize);

    auto* bid = new QGridLayout();
    bid->addWidget(labMaxBidAmt, 0, 0);
    bid->addWidget(MaxBidAmt, 0, 1);
    bid->addWidget(labMinBid, 0, 2);
    bid->addWidget(new QLabel("Item Quantity:", this), 1, 0);
    bid->addWidget(ItemQtyBox, 1, 1);
    bid->addWidget(new QLabel("Bid Time (before auction ends):", this), 2, 0);
    auto* times = new QHBoxLayout();
    times->addWidget(txtBidTimeMin);
    times->addWidget(new QLabel("min", this));
    times->addWidget(txtBidTimeSec);
    times->addWidget(new QLabel("sec", this));
    bid->addLayout(times, 2, 1, 1, 2);

    auto* groups = new QGridLayout(groupFrame);
    groups->addWidget(new QLabel("Bid Group", groupFrame), 0, 0);
    groups->addWidget(WTGroups, 1, 0);
    groups->addWidget(new QLabel("Items to win", groupFrame), 0, 1);
    groups->addWidget(WTReqWins, 1, 1);
    groups->addWidget(new QLabel("Items won", groupFrame), 0, 2);
    groups->addWidget(txtItemsWon, 1, 2);
    groups->addWidget(new QLabel("Control Bid Group", groupFrame), 0, 3);
    groups->addWidget(WTCtrlGroups, 1, 3);
    groups->addWidget(cmdClrGrp, 1, 4);

    m_buttons = new QHBoxLayout();
    QHBoxLayout* buttons = m_buttons;
    for (QPushButton* b : {OKBid, ManBid, CancelBid, cmdRefresh, Exit}) buttons->addWidget(b);

    // Everything above the buttons scrolls when the screen is too small for it, so that the
    // buttons always stay in view.
    m_content = new QWidget;
    QWidget* content = m_content;
    auto* fields = new QVBoxLayout(content);
    fields->setContentsMargins(0, 0, 0, 0);
    fields->addWidget(labItemName);
    fields->addLayout(top);
    fields->addLayout(bid);
    fields->addWidget(AutoDial);
    fields->addWidget(chkEmailOpt);
    fields->addWidget(chkShutDnOpt);
    fields->addWidget(groupFrame);
    fields->addWidget(labUD);
    fields->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);

    connect(MaxBidAmt, &QLineEdit::returnPressed, this, [this] { OKBid_Click(); });
    connect(WTGroups, qOverload<int>(&QComboBox::activated), this, [this](int) { WTGroups_Click(); });
    connect(cmdClrGrp, &QPushButton::clicked, this, [this] { cmdClrGrp_Click(); });
    connect(OKBid, &QPushButton::clicked, this, [this] { OKBid_Click(); });
    connect(ManBid, &QPushButton::clicked, this, [this] { ManBid_Click(); });
    connect(CancelBid, &QPushButton::clicked, this, [this] { CancelBid_Click(); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(Exit, &QPushButton::clicked, this, [this] { Exit_Click(); });
    connect(this, &QDialog::finished, this, [this](int) { Form_Unload(); });
}

BidForm::~BidForm() { Form_Unload(); }

int BidForm::dialogIndex() const { return TLMainItems::FindItemIndex(m_dialogItem); }

void BidForm::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    enableMainWindow(true);
    if (g_current == this) g_current = nullptr;
}

// The load, in its order. A shown item that is not in the list closes the dialog at once.
bool BidForm::Form_Load() {
    enableMainWindow(false);
    // The whole dialog without scrolling where the screen has room for it; over the main window.
    const QMargins margins = layout()->contentsMargins();
    const QSize fields = m_content->sizeHint(), buttons = m_buttons->sizeHint();
    const QSize whole(std::max(fields.width(), buttons.width()) + margins.left() + margins.right(),
                      fields.height() + layout()->spacing() + buttons.height() + margins.top() + margins.bottom());
    resize(whole.expandedTo(QSize(vb::TwipsToPixels(kFormWidthTwips), vb::TwipsToPixels(kFormHeightTwips))));
    modTLMain::Place_Over_Main_Window(this);

    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(dialogIndex());
    if (!item || m_items.empty()) {
        platform::MsgBox("Item Not Found In List", platform::vbSystemModal);
        close();
        return false;
    }

    const long options = afterBidBits(*item);
    chkEmailOpt->setEnabled(modTLMain::Email_Settings_OK());
    chkEmailOpt->setChecked((options & 1) != 0);
    chkShutDnOpt->setChecked((options & 2) != 0);
    Fill_Groups();

    if (item->BidTimeSecs != 0) {
        DisplayBidTime(item->BidTimeSecs);
    } else {
        const std::string last = vb::Trim(modTLC::Get_Config_Value("Options", "LastBidTime", "15"));
        DisplayBidTime(vb::IsNumeric(last) ? vb::CLng(last) : 15);
    }
    const std::string qty = vb::Trim(item->Quantity);
    ItemQtyBox->setText(!vb::IsNumeric(qty) || vb::CDbl(qty) <= 1 ? QStringLiteral("1") : q(item->Quantity));
    chkShutDnOpt->setEnabled(!TLMainItems::Config_True("Options", "AutoSleep", false));
    AutoDial->setChecked(TLMainItems::Config_True("Options", "LastAutoDial", false));
    AutoDial->setEnabled(vb::Val(modTLC::Get_Config_Value("Options", "AutoDialType", "2")) != 2);
    if (!item->MaxBid.empty()) MaxBidAmt->setText(q(modPageParser::Localize_Amount(item->MaxBid)));

    show();
    QCoreApplication::processEvents();

    if (modTLC::Get_Config_Value("Options", "UpdateBidSetup", "0") == "1") {
        TLMainBids::bidLink<TLMainBids::ItemRefresh>().Update_Selected_Item(m_items);
        if (!TLMainItems::Item_At(dialogIndex())) {
            platform::MsgBox("Item Not Found In List", platform::vbSystemModal);
            close();
            return false;
        }
    }

    const std::string user = UserState::CurrentUserID;
    if (!multipleItems()) {
        setWindowTitle(q("Bid Setup for eBay Item # " + m_dialogItem + " - User: " + user));
        Show_Item_Facts();
    } else {
        setWindowTitle(q("Bid Setup - Multiple Items Selected - User: " + user));
        labItemName->setText(kMultipleItems);
        labMinBid->hide();
        MaxBidAmt->clear();
        labUD->hide();
        labHiBid[0]->setText("Enter your maximum bid for all items selected.");
        labHiBid[0]->setStyleSheet("color: #ff0000;");
        ManBid->setEnabled(false);
    }
    Load_Photo();
    labUD->hide();

    MaxBidAmt->setFocus();
    if (!MaxBidAmt->text().isEmpty()) MaxBidAmt->selectAll();
    // The dialog comes to the front by itself.
    modTLMain::Set_Window_Topmost(this, -1);
    raise();
    activateWindow();
    return true;
}

void BidForm::Fill_Groups() {
    const modBidGroups::BidFormGroups g = modBidGroups::Load_BidForm_Groups(dialogIndex());
    const auto fill = [](QComboBox* box, const std::vector<std::string>& entries, int selected) {
        box->clear();
        for (const auto& e : entries) box->addItem(q(e));
        box->setCurrentIndex(selected >= 0 && selected < box->count() ? selected : -1);
    };
    fill(WTGroups, g.groups, g.groupIndex);
    fill(WTCtrlGroups, g.controlGroups, g.controlIndex);
    fill(WTReqWins, g.requiredWins, g.requiredIndex);
    if (!g.itemsWon.empty()) txtItemsWon->setText(q(g.itemsWon));
}

void BidForm::Show_Item_Facts() {
    const int index = dialogIndex();
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(index);
    if (!item) return;
    labItemName->setText(q(item->Title));
    labHiBid[1]->setText(q(item->CurrentPrice));
    labHiBid[2]->setVisible(item->ReserveFlag == 1);
    labEndTime[1]->setText(q(vb::Trim(TLMainItems::Get_Remaining_Time(index))));
    labEndDate->setText(q("(" + item->EndTime + ")"));
    labShipping[1]->setText(q(item->Shipping));
    labSeller[1]->setText(q(item->Seller));
    labBids[1]->setText(q(item->BidCount));
    labMinBid->setText(q("(Min Bid: " + item->MinBid + ")"));
    for (QLabel* l : {labHiBid[1], labEndTime[1], labEndDate, labShipping[1], labSeller[1], labBids[1], labMinBid})
        l->setVisible(true);
}

void BidForm::Clear_Item_Facts() {
    for (QLabel* l : {labHiBid[1], labHiBid[2], labEndTime[1], labBids[1], labShipping[1], labSeller[1], labEndDate,
                      labMinBid})
        l->clear();
}

void BidForm::Load_Photo() {
    const QPixmap photo(q(modTLMain::DataFolder + "Item Photos/" + m_dialogItem + ".jpg"));
    if (photo.isNull() || photo.width() <= 0) {
        ItemPixResize->clear();
        return;
    }
    ItemPixResize->setPixmap(photo.scaled(kPhotoBoxPx, kPhotoBoxPx, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void BidForm::DisplayBidTime(long seconds) {
    BidMinutes = seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60);
    BidSeconds = seconds - 60 * BidMinutes;
    txtBidTimeMin->setText(QString::number(BidMinutes));
    txtBidTimeSec->setText(QString::number(BidSeconds));
}

void BidForm::Form_Activate() { modTLMain::Set_Window_Topmost(this, -1); }

void BidForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Form_Activate();
}

void BidForm::Exit_Click() { close(); }

void BidForm::labMinBid_Click() {
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(dialogIndex());
    if (!item || item->MinBid.empty()) return;
    const size_t digit = item->MinBid.find_first_of("0123456789");
    MaxBidAmt->setText(digit == std::string::npos ? QString() : q(item->MinBid.substr(digit)));
}

void BidForm::WTGroups_Click() {
    const std::string chosen = WTGroups->currentText().toStdString();
    if (chosen.empty()) return;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) {
        const TLMainItems::AuctionItem& item = TLMainItems::Items[static_cast<size_t>(i)];
        if (item.BidGroup != chosen || !vb::EqualText(item.UserID, UserState::CurrentUserID)) continue;
        if (item.GroupNeed >= 1 && item.GroupNeed <= WTReqWins->count()) WTReqWins->setCurrentIndex(item.GroupNeed - 1);
        if (!item.ControlGroup.empty()) {
            const int at = WTCtrlGroups->findText(q(item.ControlGroup), Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (at >= 0) {
                WTCtrlGroups->setCurrentIndex(at);
                return;
            }
        }
    }
}

void BidForm::MaxBidAmt_DblClick() { MaxBidAmt->clear(); }

bool BidForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == labMinBid && event->type() == QEvent::MouseButtonRelease) {
        labMinBid_Click();
        return true;
    }
    if (watched == MaxBidAmt && event->type() == QEvent::MouseButtonDblClick) {
        MaxBidAmt_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
