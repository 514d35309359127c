#include "e2e_program.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <algorithm>

#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "items/test_items.h"

namespace testsupport {

namespace {

// Where the item-number box and the Add button beside it are on the window's picture: the box is
// the first white entry field from the top (the grid below it is wider), the button the next
// thing right of it. Points inside each; {-1,-1} when the picture shows no such field.
struct EntryRow {
    QPoint box{-1, -1};
    QPoint button{-1, -1};
};

EntryRow Find_Entry_Row(const QImage& shot) {
    EntryRow found;
    if (shot.isNull()) return found;
    const auto white = [&](int x, int y) { return (shot.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF; };
    for (int y = 0; y < shot.height(); ++y) {
        int x = 0;
        while (x < shot.width() / 2 && !white(x, y)) ++x;
        int end = x;
        while (end < shot.width() && white(end, y)) ++end;
        if (x >= shot.width() / 2 || end - x < 100 || end - x > 300) continue;
        const QRgb background = shot.pixel(std::min(end + 4, shot.width() - 1), y);
        int button = end + 4;
        while (button < shot.width() && shot.pixel(button, y) == background) ++button;
        if (button >= shot.width()) continue;
        found.box = {x + (end - x) / 2, y};
        found.button = {button + 20, y};
        return found;
    }
    return found;
}

}  // namespace

E2EProgram::E2EProgram() = default;

E2EProgram::~E2EProgram() {
    fake.stop();
    TLMainItems::ResetItemStoreForTests();
}

void E2EProgram::writeItems(const std::vector<E2EItem>& items) {
    modTLMain::DataFolder = data.dataFolder();
    modTLMain::DisplayDateFormat = "mmm-dd-yy";
    TLMainItems::ResetItemStoreForTests();
    const QDateTime now = QDateTime::currentDateTime();
    for (const E2EItem& i : items) {
        TLMainItems::AuctionItem a;
        a.ItemNumber = i.number;
        a.Title = i.title;
        a.EndTime = TLMainItems::End_Time_Text(now.addSecs(i.secondsLeft), false);
        a.CurrentPrice = "US $125.00";
        a.BidCount = "3";
        a.Seller = "camerashop (2210) 99.8%";
        a.Category = "General";
        a.UserID = "buyer1";
        a.AfterBidOptions = "0";
        a.BidTimeSecs = i.bidTimeSecs;
        if (i.bidTimeSecs > 0) a.MaxBid = "150.00";
        TLMainItems::Append_Item(a);
    }
    TLMainItems::Save_Auction_Items();
    TLMainItems::ResetItemStoreForTests();
}

void E2EProgram::writeConfig(const std::string& options, const std::string& moreSections) {
    // No updates, no backups due, no tray (the window closes as it says), sound off unless asked.
    std::string text = "[Options]\r\n";
    for (const char* line : {"ClosetoTray=0", "ChkUpdates=0", "BkupChkTime=2099-01-01 00:00:00", "PhotosOn=0"}) {
        const std::string key = std::string(line).substr(0, std::string(line).find('=') + 1);
        if (options.rfind(key, 0) != 0 && options.find("\n" + key) == std::string::npos) text += std::string(line) + "\r\n";
    }
    text += options + "\r\n[Categories]\r\nGeneral=1\r\n" + moreSections;
    data.write("tl2cf.dat", modAHM::Crypt_String(text, modTLC::Config_Phrase(), true));
}

void E2EProgram::install() {
    installed = Install_Program(data);
    if (platformTheme.isEmpty())
        installed.env.remove("QT_QPA_PLATFORMTHEME");
    else
        installed.env.insert("QT_QPA_PLATFORMTHEME", platformTheme);
}

RunningProgram E2EProgram::start() {
    if (!installed.installed) install();
    return RunningProgram(x, data, installed, fake.connectTo() + ";" + daytime.connectTo(), FakeService::caFile());
}

qulonglong E2EProgram::waitForMainWindow(qulonglong notThis, int timeoutMs) {
    qulonglong found = 0;
    waitUntil([&] {
        bool ok = false;
        const QStringList ids = input.run({"search", "--onlyvisible", "--name", "^Tolvane Rerode II  -  User:"}, &ok).split('\n');
        for (const QString& id : ids)
            if (id.trimmed().toULongLong() != 0 && id.trimmed().toULongLong() != notThis) found = id.trimmed().toULongLong();
        return found != 0;
    }, timeoutMs);
    return found;
}

qulonglong E2EProgram::openSetup(qulonglong main) {
    input.key(main, "alt+h");
    input.run({"key", "--delay", "120", "Down", "Return"});
    const qulonglong dialog = input.waitForWindow("^Tolvane Rerode II Setup$", 15000);
    return dialog != 0 && waitUntil([&] { return input.activeWindow() == dialog; }, 10000) ? dialog : 0;
}

bool E2EProgram::addByNumber(qulonglong main, const std::string& number, bool byEnter) {
    EntryRow row;
    waitUntil([&] {
        row = Find_Entry_Row(input.grab(main));
        return row.box.x() >= 0;
    }, 10000);
    if (row.box.x() < 0) return false;
    input.click(main, row.box.x(), row.box.y());
    input.key(main, "ctrl+a");  // the number typed takes the place of what the box shows
    input.type(main, QString::fromStdString(number));
    if (byEnter)
        input.key(main, "Return");
    else
        input.click(main, row.button.x(), row.button.y());
    return true;
}

std::vector<std::string> E2EProgram::storedItemNumbers() const {
    modTLMain::DataFolder = data.dataFolder();
    TLMainItems::ResetItemStoreForTests();
    TLMainItems::Load_Auction_Items();
    std::vector<std::string> numbers;
    for (int i = 1; i <= TLMainItems::ItemCount; ++i) numbers.push_back(TLMainItems::Items[static_cast<size_t>(i)].ItemNumber);
    return numbers;
}

std::string E2EProgram::storedConfig() const {
    if (!data.exists("tl2cf.dat")) return {};
    return modAHM::Crypt_String(data.read("tl2cf.dat"), modTLC::Config_Phrase(), false);
}

}  // namespace testsupport
