#include "account/seller_feedback.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "account/account_pages.h"
#include "account/feedback_grid.h"
#include "foundation/busy_holds.h"
#include "foundation/logs.h"
#include "foundation/main_window_link.h"
#include "foundation/small_routines.h"
#include "foundation/vb.h"
#include "ieext/hand_over.h"
#include "items/auction_item.h"
#include "items/item_grid.h"
#include "items/item_grid_model.h"
#include "items/item_window_links.h"
#include "mainwindow/browser_views.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "service/national_sites.h"
#include "service/page_parser.h"
#include "service/page_text.h"
#include "service/wininet.h"

namespace modFeedback {
namespace {

QPointer<ItemFeedback> g_window;

void setLabel(QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
    label->repaint();
}

std::string text(const QLineEdit* box) { return box->text().toStdString(); }

int checkedIndex(const std::array<QRadioButton*, 3>& options) {
    for (int i = 0; i < 3; ++i)
        if (options[static_cast<size_t>(i)]->isChecked()) return i;
    return 0;
}

void trappedError(const char* what) {
    modTLMain::Write_Error_Log(std::string("Error 5 (") + what + ") in procedure GetSellersItemFeedback");
}

// The first of the three page headers in the HTML (1-based), 0 when none.
long htmlHeader(std::string_view html) {
    for (const char* mark : {">Feedback<", ">From Buyer/price<", ">Date/time<"})
        if (const long p = vb::InStr(html, mark, vb::Text)) return p;
    return 0;
}

QWidget* mainWindow() { return TLMainLink::window().widget(); }

int windowStateOf(const QWidget* w) {
    if (!w) return 0;
    if (w->isMinimized()) return 1;
    if (w->isMaximized()) return 2;
    return 0;
}

// How the analysis of one page ended.
enum class PageEnd { Read, Stop };

}  // namespace

// ---- The window ----

ItemFeedback& ItemFeedback::instance() {
    if (!g_window) g_window = new ItemFeedback();
    return *g_window;
}

bool ItemFeedback::loaded() { return !g_window.isNull(); }

void ItemFeedback::Unload() {
    if (g_window) {
        g_window->hide();
        delete g_window.data();
    }
}

ItemFeedback::ItemFeedback() : QWidget(nullptr, Qt::Window) {
    setWindowTitle(" Feedback Analyzer");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QGridLayout(this);
    txtItemTitle = new QLineEdit(this);
    txtSeller = new QLineEdit(this);
    layout->addWidget(new QLabel("Search Title", this), 0, 0);
    layout->addWidget(txtItemTitle, 0, 1, 1, 3);
    layout->addWidget(new QLabel("Seller:", this), 1, 0);
    layout->addWidget(txtSeller, 1, 1, 1, 3);

    auto* match = new QGroupBox(this);
    auto* matchLayout = new QHBoxLayout(match);
    const char* matchCaptions[] = {"Exact", "Partial", "None"};
    for (int i = 0; i < 3; ++i) {
        optMatch[static_cast<size_t>(i)] = new QRadioButton(matchCaptions[i], match);
        matchLayout->addWidget(optMatch[static_cast<size_t>(i)]);
        connect(optMatch[static_cast<size_t>(i)], &QRadioButton::clicked, this, [this, i] { optMatch_Click(i); });
    }
    auto* type = new QGroupBox(this);
    auto* typeLayout = new QHBoxLayout(type);
    const char* typeCaptions[] = {"Positive", "Negative-Neutral", "All"};
    for (int i = 0; i < 3; ++i) {
        optFBType[static_cast<size_t>(i)] = new QRadioButton(typeCaptions[i], type);
        typeLayout->addWidget(optFBType[static_cast<size_t>(i)]);
    }
    layout->addWidget(match, 2, 0, 1, 4);
    layout->addWidget(type, 3, 0, 1, 4);

    cboSearCnt = new QComboBox(this);
    cboSearCnt->setEditable(true);
    cboDspCnt = new QComboBox(this);
    cboDspCnt->setEditable(true);
    layout->addWidget(new QLabel("Search Count:", this), 4, 0);
    layout->addWidget(cboSearCnt, 4, 1);
    layout->addWidget(new QLabel("Display Count:", this), 4, 2);
    layout->addWidget(cboDspCnt, 4, 3);

    labSearches = new QLabel(this);
    labMatches = new QLabel(this);
    labNegs = new QLabel(this);
    labNeus = new QLabel(this);
    labStatus = new QLabel(this);
    layout->addWidget(labSearches, 5, 0);
    layout->addWidget(labMatches, 5, 1);
    layout->addWidget(labNegs, 5, 2);
    layout->addWidget(labNeus, 5, 3);
    layout->addWidget(labStatus, 6, 0, 1, 4);

    const char* commands[] = {"Search", "Cancel", "Display"};
    for (int i = 0; i < 3; ++i) {
        cmdSearch[static_cast<size_t>(i)] = new QPushButton(commands[i], this);
        layout->addWidget(cmdSearch[static_cast<size_t>(i)], 7, i);
        connect(cmdSearch[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdSearch_Click(i); });
    }
    // Search needs a seller.
    connect(txtSeller, &QLineEdit::textChanged, this,
            [this](const QString& s) { cmdSearch[0]->setEnabled(!s.trimmed().isEmpty()); });
    Form_Load();
}

void ItemFeedback::Form_Load() {
    optMatch[0]->setChecked(true);
    optFBType[2]->setChecked(true);
    for (int i = 1; i <= 100; ++i) cboDspCnt->addItem(QString::number(i));
    for (int n = 200; n <= 1000; n += 200) cboSearCnt->addItem(QString::number(n));
    cboDspCnt->setCurrentIndex(49);
    cboSearCnt->setCurrentIndex(0);
    labSearches->setText("Searches: 0");
    labMatches->setText("Matches: 0");
    labNegs->setText("Negatives: 0");
    labNeus->setText("Neutrals: 0");
    labStatus->setText(kStatusReady);
    cmdSearch[0]->setEnabled(false);
    cmdSearch[2]->setEnabled(false);
    adjustSize();
    modTLMain::Place_Over_Main_Window(this);
}

void ItemFeedback::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    modTLMain::Set_Window_Topmost(this, -1);
}

void ItemFeedback::closeEvent(QCloseEvent* event) {
    if (FeedbackAnalysisRunning) {
        FeedbackAnalysisAbort = 1;
        event->ignore();
        return;
    }
    event->accept();
    cmdSearch_Click(1);
}

void ItemFeedback::showWindow() {
    show();
    raise();
    activateWindow();
}

void ItemFeedback::optMatch_Click(int Index) {
    if (Index == 2) optFBType[1]->setChecked(true);
}

void ItemFeedback::FBItem(int Row) {
    const TLMainItems::AuctionItem* item = TLMainItems::Item_At(TLMainItems::Item_Of_Row(Row));
    if (!item) return;
    txtItemTitle->setText(QString::fromStdString(item->Title));
    txtSeller->setText(QString::fromStdString(TLMainBrowser::Seller_ID(item->Seller)));
    FeedbackSource = 1;
    MainWindowSavedState = windowStateOf(mainWindow());
    showWindow();
}

void ItemFeedback::IEFB(const std::string& HandOver) {
    const std::optional<ieext::PageHandOver> page = ieext::Parse_Page_Hand_Over(HandOver);
    if (!page || page->prefix != "TLFEEDBACK") return;
    if (!page->html.empty()) modPageParser::PageHTML = page->html;
    if (!page->text.empty()) modPageParser::PageText = page->text;
    if (modPageParser::PageText == "NO DATA") modPageParser::PageText = modPageParser::Inner_Text(modPageParser::PageHTML);
    modAccount::Debug_Dump(modPageParser::PageHTML, "HTMLFeedback");
    modAccount::Debug_Dump(modPageParser::PageText, "TEXTFeedback");

    // Without the blank the title keeps before the service's suffix, or no exact title would match.
    txtItemTitle->setText(QString::fromStdString(vb::Trim(modPageParser::Clean_Title(page->title))));
    const std::string seller = modPageParser::Get_Seller();
    const size_t bracket = seller.find('(');
    if (bracket != std::string::npos && !vb::Trim(seller.substr(0, bracket)).empty())
        txtSeller->setText(QString::fromStdString(vb::Trim(seller.substr(0, bracket))));

    FeedbackSource = 2;
    QWidget* w = mainWindow();
    MainWindowSavedVisible = w && w->isVisible() ? 1 : 0;
    MainWindowSavedState = windowStateOf(w);
    if (w && w->isVisible()) w->hide();
    showWindow();
}

void ItemFeedback::cmdSearch_Click(int Index) {
    switch (Index) {
        case 0:
            if (FeedbackAnalysisRunning || vb::Trim(text(txtSeller)).empty()) return;
            cmdSearch[2]->setEnabled(false);
            FeedbackAnalysisAbort = 0;
            GetSellersItemFeedback();
            break;
        case 1:
            if (FeedbackAnalysisRunning) {
                FeedbackAnalysisAbort = 1;
                return;
            }
            if (FeedbackSource == 2) {
                if (QWidget* w = mainWindow()) {
                    TLMainLink::window().setWindowState(MainWindowSavedState);
                    w->setVisible(MainWindowSavedVisible != 0);
                    if (MainWindowSavedVisible) w->lower();
                }
            }
            hide();
            deleteLater();
            g_window = nullptr;
            break;
        case 2:
            if (FeedbackSource == 2) {
                if (QWidget* w = mainWindow()) {
                    TLMainLink::window().setWindowState(2);
                    w->setVisible(true);
                    modTLMain::Set_Window_Topmost(w, -1);
                    modTLMain::Set_Window_Topmost(w, 0);
                }
            }
            Show_Seller_Feedback();
            break;
        default: break;
    }
}

// ---- The analysis ----

std::string Feedback_Page_Address(const std::string& seller, long page) {
    return std::string("http://") + modTLMain::kFeedbackPagesHost + "/ws/eBayISAPI.dll?ViewFeedback2&userid=" +
           TLMainBrowser::Query_Value(seller) + "&ftab=FeedbackAsSeller&page=" + std::to_string(page) + "&items=200";
}

bool GetFBPage(const std::string& Seller, long Page) {
    if (modAccount::Refused_As_Busy()) return false;
    TLMainState::BusyHold updating(TLMainState::UpdateBusy);
    modWinInet::HttpURL = Feedback_Page_Address(Seller, Page);
    modWinInet::Http_Request(modWinInet::HttpURL, "GET", "",
                             modWinInet::kFlagFollowRedirects | modWinInet::kFlagReadBody | modWinInet::kFlagAcceptGzip);
    std::string& html = modPageParser::PageHTML;
    if (html.empty()) return true;
    const long header = htmlHeader(html);
    const long table = header > 0 ? vb::InStrRev(html, "<table", header, vb::Text) : 0;
    if (table > 0) html = vb::Mid(html, table);
    std::string pageText = modPageParser::Inner_Text(html);
    pageText = vb::Replace(pageText, "member id", "", vb::Text);
    pageText = vb::Replace(pageText, "feedback score of ", "", vb::Text);
    modPageParser::PageText = pageText;
    modAccount::Debug_Dump(html, "HTMLFB");
    modAccount::Debug_Dump(pageText, "TEXTFB");
    return true;
}

QDate Entry_Date(const std::string& date) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (date.size() != 9 || date[3] != '-' || date[6] != '-') return {};
    int month = 0;
    for (int m = 0; m < 12; ++m)
        if (vb::EqualText(date.substr(0, 3), kMonths[m])) month = m + 1;
    const std::string day = date.substr(4, 2), year = date.substr(7, 2);
    if (!month || day.find_first_not_of("0123456789") != std::string::npos ||
        year.find_first_not_of("0123456789") != std::string::npos)
        return {};
    return QDate(2000 + std::stoi(year), month, std::stoi(day));
}

long Pages_For_Search_Count(const std::string& count) {
    const double n = vb::Val(count);
    const long pages = static_cast<long>(std::ceil(n / static_cast<double>(kEntriesPerPage)));
    return std::clamp(pages, 1L, kMaxFeedbackPages);
}

long Display_Count(const std::string& count) {
    return std::clamp(static_cast<long>(vb::Val(count)), 1L, 100L);
}

bool Entry_Matches(const SellerFeedbackEntry& e, int M, int T, const std::string& searchTitle) {
    if (M == 2) return e.Kind != "Pos";
    const bool title = M == 0 ? e.Title == searchTitle
                              : searchTitle.empty() || vb::InStr(e.Title, searchTitle, vb::Text) > 0;
    if (!title) return false;
    if (T == 0) return e.Kind == "Pos";
    if (T == 1) return e.Kind == "Neg" || e.Kind == "Neu";
    return true;
}

void GetSellersItemFeedback() {
    ItemFeedback& f = ItemFeedback::instance();
    const std::string seller = vb::Trim(text(f.txtSeller));
    if (seller.empty()) return;
    const int M = checkedIndex(f.optMatch), T = checkedIndex(f.optFBType);
    const std::string searchTitle = text(f.txtItemTitle);
    setLabel(f.labMatches, "Matches: 0");
    setLabel(f.labSearches, "Search Count: 0");
    setLabel(f.labNegs, "Negatives: 0");
    setLabel(f.labNeus, "Neutrals: 0");
    const long display = Display_Count(f.cboDspCnt->currentText().toStdString());
    const long pages = Pages_For_Search_Count(f.cboSearCnt->currentText().toStdString());
    SellerFeedbackList.assign(1, SellerFeedbackEntry{});
    long rows = 0, matches = 0, negatives = 0, neutrals = 0;
    bool over90 = false;
    FeedbackAnalysisRunning = 1;
    const QDate today = platform::clock().now().date();
    QPointer<ItemFeedback> window(&f);

    const auto finish = [&](const char* statusText, bool display) {
        FeedbackAnalysisRunning = 0;
        if (!window) return;
        if (statusText) setLabel(window->labStatus, statusText);
        if (display && matches > 0) window->cmdSearch[2]->setEnabled(true);
    };

    for (long page = 1;; ++page) {
        platform::timers().doEvents();
        if (!window) return finish(nullptr, false);
        setLabel(f.labStatus, kStatusDownloading);
        if (!GetFBPage(seller, page)) return finish(kStatusAborted, true);
        if (!window) return finish(nullptr, false);
        const std::string html = modPageParser::PageHTML;
        const std::string pageText = modPageParser::PageText;
        if (html.empty()) return finish(nullptr, false);
        setLabel(f.labStatus, kStatusAnalyzing);

        long hc = htmlHeader(html);
        if (hc == 0) {
            modTLMain::Write_Error_Log(kHtmlHeaderError);
            return finish(nullptr, false);
        }
        long th = vb::InStr(pageText, "From Buyer/price", vb::Text);
        if (th == 0) th = vb::InStr(pageText, "Date/time", vb::Text);
        if (th == 0) {
            modTLMain::Write_Error_Log(kTextHeaderError);
            return finish(nullptr, false);
        }
        const long headerEnd = vb::InStr(th, pageText, "\r\n");
        long tc = headerEnd > 0 ? headerEnd + 2 : static_cast<long>(pageText.size()) + 1;

        bool noEntryYet = true;
        for (;;) {
            platform::timers().doEvents();
            const long icon = vb::InStr(hc, html, "_16x16.gif", vb::Text);
            if (icon == 0) break;
            const std::string kind = icon > 3 ? vb::Mid(html, icon - 3, 3) : std::string();
            if (kind != "Pos" && kind != "Neg" && kind != "Neu") {
                if (noEntryYet) break;
                hc = icon + 10;
                continue;
            }
            noEntryYet = false;
            SellerFeedbackEntry e;  // every entry starts empty
            e.Kind = kind;

            const std::string prefix = std::string("http://") + modTLMain::kMemberPagesHost + "/";
            const long link = vb::InStr(icon, html, prefix, vb::Text);
            if (link == 0) {
                trappedError("an entry without its member-page link");
                return finish(nullptr, false);
            }
            const long idStart = link + static_cast<long>(prefix.size());
            const long quote = vb::InStr(idStart, html, "\"");
            if (quote == 0) {
                trappedError("an entry without the closing quote");
                return finish(nullptr, false);
            }
            const std::string buyerId = vb::Mid(html, idStart, quote - idStart);
            hc = quote;

            const long eol = vb::InStr(tc, pageText, "\r\n");
            if (eol == 0) {
                trappedError("the page text ends before a buyer line");
                return finish(nullptr, false);
            }
            const std::string line = vb::Mid(pageText, tc, eol - tc);
            tc = eol + 2;
            long d0 = 1;
            const long b = buyerId.empty() ? 0 : vb::InStr(line, buyerId, vb::Text);
            if (b > 0) {
                e.Comment = vb::Left(line, b - 1);
                const long close = vb::InStr(b, line, ")");
                e.Buyer = close > 0 ? vb::Mid(line, b, close - b + 1) : buyerId;
                d0 = b + static_cast<long>(e.Buyer.size());
            } else {
                e.Buyer = buyerId;
            }
            e.Buyer = vb::Replace(e.Buyer, " ", "");
            const long d = vb::InStr(d0, line, "-");
            if (d > 3 && vb::Mid(line, d + 3, 1) == "-" && vb::IsNumeric(vb::Mid(line, d + 1, 2)))
                e.Date = vb::Mid(line, d - 3, 9);
            const QDate date = Entry_Date(e.Date);
            if (date.isValid() && date.daysTo(today) > kMaxAgeDays) {
                over90 = true;
                break;
            }

            bool textEnded = false;
            for (;;) {
                const long next = vb::InStr(tc, pageText, "\r\n");
                const long lineEnd = next > 0 ? next : static_cast<long>(pageText.size()) + 1;
                if (tc > static_cast<long>(pageText.size())) {
                    textEnded = true;
                    break;
                }
                const std::string itemLine = vb::Mid(pageText, tc, lineEnd - tc);
                tc = lineEnd + 2;
                const long k = vb::InStr(itemLine, "(#");
                if (k > 0) {
                    e.Title = vb::Trim(vb::Left(itemLine, k - 1));
                    const long close = vb::InStr(k, itemLine, ")");
                    e.ItemNumber = close > 0 ? vb::Mid(itemLine, k + 2, close - k - 2) : vb::Mid(itemLine, k + 2);
                    e.Price = close > 0 ? vb::Replace(vb::Mid(itemLine, close + 1), "View Item", "") : std::string();
                    break;
                }
                if (vb::InStr(itemLine, "--Private") > 0) break;
                if (next == 0) {
                    textEnded = true;
                    break;
                }
            }
            if (textEnded) break;

            if (e.Kind == "Neg") ++negatives;
            if (e.Kind == "Neu") ++neutrals;
            if (Entry_Matches(e, M, T, searchTitle)) {
                ++matches;
                SellerFeedbackList.push_back(e);
            }
            ++rows;
            if (!window) return finish(nullptr, false);
            setLabel(f.labSearches, "Search Count: " + std::to_string(rows));
            setLabel(f.labMatches, "Matches: " + std::to_string(matches));
            setLabel(f.labNegs, "Negatives: " + std::to_string(negatives));
            setLabel(f.labNeus, "Neutrals: " + std::to_string(neutrals));
            if (matches >= display) break;
        }

        if (!window) return finish(nullptr, false);
        if (FeedbackAnalysisAbort) return finish(kStatusAborted, true);
        if (rows == 0) return finish(kStatusNoFeedback, false);
        if (matches >= display || page >= pages || over90 || noEntryYet) {
            if (over90) setLabel(f.labSearches, f.labSearches->text().toStdString() + "  (Over 90 Days)");
            return finish(kStatusCompleted, true);
        }
        modTLMain::Wait_Seconds(1);
    }
}

void Show_Seller_Feedback() {
    if (ItemFeedback::loaded()) ItemFeedback::instance().hide();
    TLMainItems::GridViewMode = 2;
    TLMainItems::SellerFeedbackItems.clear();
    for (size_t i = 1; i < SellerFeedbackList.size(); ++i)
        TLMainItems::SellerFeedbackItems.push_back(SellerFeedbackList[i].ItemNumber);
    TLMainItems::SellerFeedbackRows = static_cast<int>(SellerFeedbackList.size()) - 1;
    TLMainAccount::Load_Feedback_Grid();
    TLMainItems::ItemGridModel& g = TLMainItems::ItemGrid();
    for (size_t i = 1; i < SellerFeedbackList.size(); ++i) {
        const SellerFeedbackEntry& e = SellerFeedbackList[i];
        const int r = static_cast<int>(i);
        const long colour = i % 2 == 1 ? 0xDDFFDD : 0xEEEEEE;
        for (int col = 0; col < 4; ++col) g.setCellBackColor(r, col, colour);
        if (e.Kind == "Pos") g.setCellPicture(r, 0, TLMainItems::kPicPositive);
        if (e.Kind == "Neg") g.setCellPicture(r, 0, TLMainItems::kPicNegative);
        if (e.Kind == "Neu") g.setCellPicture(r, 0, TLMainItems::kPicNeutral);
        g.setTextMatrix(r, 1, e.Comment + "\r\n\r\n" + e.Title);
        g.setTextMatrix(r, 2, e.Buyer + "\r\n\r\n" + e.Price);
        g.setTextMatrix(r, 3, e.Date);
    }
    g.setRow(std::min(1, g.Rows() - 1));
    g.setVisible(true);
    TLMainLink::statusLine().setStatus(kExitFeedbackView);
    TLMainItems::itemLink<TLMainItems::ItemWindow>().ResizeWindow();
}

void Open_Feedback_Analyzer() {
    const std::string clip = platform::clipboard().text();
    if (clip.rfind("TLFEEDBACK", 0) == 0) {
        platform::clipboard().clear();
        ItemFeedback::instance().IEFB(clip);
        return;
    }
    if (TLMainItems::GridViewMode != 0) return;
    if (!TLMainItems::Item_At(TLMainItems::Item_Of_Row(TLMainItems::SelectedRow))) return;
    ItemFeedback::instance().FBItem(TLMainItems::SelectedRow);
}

void ResetSellerFeedbackForTests() {
    ItemFeedback::Unload();
    SellerFeedbackList.assign(1, SellerFeedbackEntry{});
    FeedbackSource = FeedbackAnalysisRunning = FeedbackAnalysisAbort = 0;
    MainWindowSavedState = MainWindowSavedVisible = 0;
}

}  // namespace modFeedback
