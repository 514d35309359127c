#include "items/comment_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "foundation/config_store.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "platform/clipboard.h"

namespace TLMainItems {
namespace {

QPointer<Comment> g_window;

long twips(int px) { return vb::PixelsToTwips(px); }

// A stored position in twips, or `def` when none is stored or it does not read.
long storedTwips(const char* key, long def) {
    const std::string v = modTLC::Get_Config_Value("Options", key, "");
    return vb::IsNumeric(v) ? static_cast<long>(vb::CDbl(v)) : def;
}

}  // namespace

Comment::Comment() {
    setObjectName("Comment");
    setWindowTitle(kCommentTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Comment", this));
    ItemNameLab = new QLabel("Item Name", this);
    layout->addWidget(ItemNameLab);
    CommentTxt = new QPlainTextEdit(this);
    CommentTxt->installEventFilter(this);
    layout->addWidget(CommentTxt);
    AutoComment = new QCheckBox("Always Display When Adding Items", this);
    layout->addWidget(AutoComment);
    Tip = new QLabel("TIP", this);
    Tip->setToolTip("You can hightlight and paste (Ctrl-C) text from the auction page");
    layout->addWidget(Tip);
    auto* buttons = new QHBoxLayout;
    const char* captions[] = {"Add", "Delete", "Exit"};
    for (int i = 0; i < 3; ++i) {
        Cmd[i] = new QPushButton(captions[i], this);
        Cmd[i]->setAutoDefault(false);
        buttons->addWidget(Cmd[i]);
        connect(Cmd[i], &QPushButton::clicked, this, [this, i] { cmd_Click(i); });
    }
    layout->addLayout(buttons);
    connect(AutoComment, &QCheckBox::clicked, this, [this] { AutoComment_Click(); });
    resize(400, 260);
}

Comment::~Comment() { finish(); }

void Comment::Form_Load() {
    if (const AuctionItem* item = CommentItemIndex > 0 ? Item_At(CommentItemIndex) : nullptr) {
        m_itemNumber = item->ItemNumber;
        setWindowTitle(QString::fromStdString("Tolvane Rerode II Item Comment - " + item->ItemNumber));
        CommentTxt->setPlainText(QString::fromStdString(item->CommentText));
        ItemNameLab->setText(QString::fromStdString(item->Title));
    } else {
        m_itemNumber.clear();
        Cmd[0]->setEnabled(false);
        Cmd[1]->setEnabled(false);
        ItemNameLab->setText("None Selected");
        CommentTxt->clear();
    }
    AutoComment->setChecked(vb::Val(modTLC::Get_Config_Value("Options", "AutoComment", "0")) != 0);
    CommentWindowOpen = true;
    m_board = &platform::clipboard();
    m_clipboardWatch = m_board->watchChanges([this] { appendClipboardText(); });

    long screenW = twips(800), screenH = twips(600);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        screenW = twips(s->geometry().width());
        screenH = twips(s->geometry().height());
    }
    const long w = twips(width()), h = twips(height());
    modTLMain::Place_Over_Main_Window(this);  // where the window opens without a stored place
    long left = storedTwips("CommentPosLeft", twips(x()));
    long top = storedTwips("CommentPosTop", twips(y()));
    if (top < 0) top = 0;
    if (screenH - h < top) top = screenH - h;
    if (left < 0) left = 0;
    if (screenW - w < left) left = screenW - w;
    move(vb::TwipsToPixels(static_cast<int>(left)), vb::TwipsToPixels(static_cast<int>(top)));
    modTLMain::Set_Window_Topmost(this, -1);
}

void Comment::Form_Activate() { modTLMain::Set_Window_Topmost(this, -1); }

void Comment::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Form_Activate();
}

void Comment::appendClipboardText() {
    const std::string text = m_board ? m_board->text() : std::string();
    if (text.empty()) return;
    CommentTxt->setPlainText(CommentTxt->toPlainText() + QString::fromStdString(text));
    CommentTxt->moveCursor(QTextCursor::End);
}

void Comment::finish() {
    if (m_finished) return;
    m_finished = true;
    if (g_window == this) g_window = nullptr;  // the next opening loads a new window
    CommentWindowOpen = false;
    if (m_board) m_board->unwatchChanges(m_clipboardWatch);
    m_board = nullptr;
    modTLMain::Set_Window_Topmost(this, 0);
    modTLC::Set_Config_Value("Options", "CommentPosLeft", twips(x()));
    modTLC::Set_Config_Value("Options", "CommentPosTop", twips(y()));
    CommentWait = 0;
}

void Comment::cmd_Click(int Index) {
    if (m_finished) return;
    if (Index == 0 || Index == 1) {
        const int16_t index = m_itemNumber.empty() ? 0 : FindItemIndex(m_itemNumber);
        if (index == 0) {
            TLMainLink::statusLine().setStatus(kItemGone);
        } else if (Index == 0) {
            const std::string text = CommentTxt->toPlainText().toStdString();
            Items[static_cast<size_t>(index)].CommentText = text;
            TLMainLink::statusLine().setStatus(text);
            Save_Auction_Items();
        } else {
            Items[static_cast<size_t>(index)].CommentText.clear();
            TLMainLink::statusLine().setStatus(kCommentDeleted);
            Save_Auction_Items();
        }
    }
    finish();
    close();
}

void Comment::AutoComment_Click() {
    modTLC::Set_Config_Value("Options", "AutoComment", AutoComment->isChecked() ? 1 : 0);
}

bool Comment::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CommentTxt && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !CommentTxt->toPlainText().isEmpty()) {
            cmd_Click(0);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Comment::closeEvent(QCloseEvent* e) {
    // Every close ends the window here. (A dialog's own close handling would go back through
    // reject(), which is this close again, find it already running and keep the window open.)
    finish();
    e->accept();
}

void Open_Comment_Window() {
    if (!g_window) {
        g_window = new Comment;
        g_window->Form_Load();
    }
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
}

Comment* Comment_Window() { return g_window.data(); }

}  // namespace TLMainItems
