// The two connection checks: a connection to the service's web server within 5 seconds, and the
// system's own word on whether it is online.
#include <QTcpServer>

#include "dialup_fixture.h"
#include "foundation/startup.h"
#include "service/national_sites.h"
#include "service/wininet.h"

namespace dialtest {
namespace {

class Checks : public DialupFixture {
protected:
    void TearDown() override {
        modWinInet::ResetForTests();
        DialupFixture::TearDown();
    }
    // The web server's port 80 goes to `port` on this machine.
    static void routeWebServerTo(quint16 port) {
        modWinInet::Settings().connectTo =
            modTLMain::Home_Site_Host(modTLMain::CurrentSiteIndex) + ":80:127.0.0.1:" + std::to_string(port);
    }
};

TEST_F(Checks, WebServerCheckConnectsOrSaysNoConnectionAndLogsEither) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    routeWebServerTo(server.serverPort());
    EXPECT_EQ(modRAS::GetConStatusAlt(), 1);
    EXPECT_NE(opLog().find(" - Connected"), std::string::npos);
    EXPECT_NE(opLog().find("Checking Internet Connection 0."), std::string::npos);

    const quint16 port = server.serverPort();
    server.close();  // nothing listens there now
    routeWebServerTo(port);
    EXPECT_EQ(modRAS::GetConStatusAlt(), 0);
    EXPECT_NE(opLog().find("Checking Internet Connection - No Internet Connection Detected"), std::string::npos);
}

TEST_F(Checks, SystemStateNamesThePrimaryConnection) {
    network.up = {"Office"};
    EXPECT_TRUE(modRAS::GetConStatus());
    EXPECT_EQ(modRAS::ConnectionName, "Office");
    network.up.clear();
    EXPECT_FALSE(modRAS::GetConStatus());
    EXPECT_EQ(modRAS::ConnectionName, "");
}

}  // namespace
}  // namespace dialtest
