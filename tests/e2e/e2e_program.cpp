#include "e2e_program.h"

#include <QDateTime>
#include <QStringList>

#include "foundation/cipher.h"
#include "foundation/config_store.h"
#include "foundation/locale_dates.h"
#include "foundation/startup.h"
#include "items/auction_item.h"
#include "items/item_store.h"
#include "items/test_items.h"

namespace testsupport {

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
        a.BidTimeSecs = i.bidSecs;
        TLMainItems::Append_Item(a);
    }
    TLMainItems::Save_Auction_Items();
    TLMainItems::ResetItemStoreForTests();
}

void E2EProgram::writeConfig(const std::string& options, const std::string& moreSections) {
    // No updates, no backups due, no tray (the window closes as it says), sound off unless asked.
    const std::string text = "[Options]\r\nClosetoTray=0\r\nChkUpdates=0\r\nBkupChkTime=2099-01-01 00:00:00\r\n"
                             "PhotosOn=0\r\n" + options + "\r\n[Categories]\r\nGeneral=1\r\n" + moreSections;
    data.write("tl2cf.dat", modAHM::Crypt_String(text, modTLC::Config_Phrase(), true));
}

void E2EProgram::install() { installed = Install_Program(data); }

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
