// seller_feedback.h — the seller feedback analyzer: how earlier buyers rated a seller, above all
// buyers of items like the one the user looks at.
//
// The analyzer window (ItemFeedback) holds the title to look for, the seller, a match mode, a
// feedback filter and how many entries to read and to keep. Search reads the seller's "feedback
// as seller" pages, 200 entries a page and a second between pages, counts the entries and the
// negative and neutral ones, and keeps each entry that the mode and filter match in
// SellerFeedbackList; reading stops at the first entry older than 90 days. Display shows the kept
// entries in the main grid (view 2); Esc there brings the window back.
//
// The window is filled from a row of the item list (FBItem) or from a page the browser handed
// over ("TLFEEDBACK", IEFB). Everything runs on the UI thread; the page requests and the wait
// between pages yield to the event loop, so Cancel can ask for the end of a running analysis
// (it takes effect when the current page is read).
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace modFeedback {

struct SellerFeedbackEntry {
    std::string ItemNumber;
    std::string Title;
    std::string Date;     // "Jan-05-08"
    std::string Price;
    std::string Kind;     // "Pos", "Neg" or "Neu"
    std::string Comment;
    std::string Buyer;    // "buyer99(123)"
    bool operator==(const SellerFeedbackEntry&) const = default;
};
// Entries 1 to N of the last analysis (element 0 holds none).
inline std::vector<SellerFeedbackEntry> SellerFeedbackList(1);

// 1 the window's item is one of the list, 2 a page the browser handed over.
inline int32_t FeedbackSource = 0;
inline int32_t FeedbackAnalysisRunning = 0;
inline int32_t FeedbackAnalysisAbort = 0;
// The main window's state (0 normal, 1 minimized, 2 maximized) and visibility when the window
// was filled.
inline int32_t MainWindowSavedState = 0;
inline int32_t MainWindowSavedVisible = 0;

inline constexpr const char* kStatusReady = "Status: Ready";
inline constexpr const char* kStatusDownloading = "Status: Downloading....";
inline constexpr const char* kStatusAnalyzing = "Status: Analyzing Feedback....";
inline constexpr const char* kStatusCompleted = "Status: Completed....";
inline constexpr const char* kStatusAborted = "Status: Aborted.";
inline constexpr const char* kStatusNoFeedback = "Status: Error! No Feedback Found.";
inline constexpr const char* kHtmlHeaderError =
    "Error - Failed to Retrieve HTML Page Header - GetSellersItemFeedback";
inline constexpr const char* kTextHeaderError =
    "Error - Failed to Retrieve Text Page Header - GetSellersItemFeedback";
inline constexpr const char* kExitFeedbackView = "Press 'Esc' key to exit feedback window";
// Entries a page of feedback holds, and pages read at most.
inline constexpr long kEntriesPerPage = 200;
inline constexpr long kMaxFeedbackPages = 5;
inline constexpr long kMaxAgeDays = 90;

class ItemFeedback final : public QWidget {
    Q_OBJECT
public:
    // The window, loaded on first use.
    static ItemFeedback& instance();
    static bool loaded();
    // Closes the window for good (the next use loads a new one).
    static void Unload();

    // Fills the window from the item on row `Row` of the item grid and shows it.
    void FBItem(int Row);
    // Fills the window from a "TLFEEDBACK" hand-over and shows it.
    void IEFB(const std::string& HandOver);
    // 0 Search, 1 Cancel, 2 Display.
    void cmdSearch_Click(int Index);
    void optMatch_Click(int Index);

    QLineEdit* txtItemTitle = nullptr;
    QLineEdit* txtSeller = nullptr;
    std::array<QRadioButton*, 3> optMatch{};
    std::array<QRadioButton*, 3> optFBType{};
    QComboBox* cboSearCnt = nullptr;
    QComboBox* cboDspCnt = nullptr;
    std::array<QPushButton*, 3> cmdSearch{};
    QLabel* labSearches = nullptr;
    QLabel* labMatches = nullptr;
    QLabel* labNegs = nullptr;
    QLabel* labNeus = nullptr;
    QLabel* labStatus = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // The close box acts as Cancel: it ends a running analysis first, and gives a hidden main
    // window back.
    void closeEvent(QCloseEvent* event) override;

private:
    ItemFeedback();
    void Form_Load();
    void showWindow();
};

// Runs one analysis with the window's fields.
void GetSellersItemFeedback();
// Fetches page `Page` of the seller's feedback as seller into PageHTML and PageText; false when
// refused because another download or list run is busy (nothing asked).
bool GetFBPage(const std::string& Seller, long Page);
// Shows SellerFeedbackList in the main grid as view 2.
void Show_Seller_Feedback();

// The address of a feedback page.
std::string Feedback_Page_Address(const std::string& seller, long page);
// The date of an entry ("Mar-05-26", English month names, 20YY); invalid when it does not read.
QDate Entry_Date(const std::string& text);
// Pages read for a search count (ceil(n / 200), 1 to 5), and the display count (1 to 100).
long Pages_For_Search_Count(const std::string& text);
long Display_Count(const std::string& text);
// Whether the entry passes match mode M and filter T against the search title.
bool Entry_Matches(const SellerFeedbackEntry& entry, int M, int T, const std::string& searchTitle);

// The analyzer's opener (the Feedback menu and the item popup): a "TLFEEDBACK" page on the
// clipboard is taken (and the clipboard emptied), else the selected row of the item list.
void Open_Feedback_Analyzer();

void ResetSellerFeedbackForTests();

}  // namespace modFeedback
