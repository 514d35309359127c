#include "browser_fakes.h"

#include <gtest/gtest.h>

#include <memory>

#include "service/wininet.h"

namespace browsertest {
namespace {

struct Fakes {
    testsupport::FakeService trusted;
    testsupport::FakeService untrusted{{.cert = testsupport::FakeCert::UntrustedCA, .http = false}};
    testsupport::FakeService wrongName{{.cert = testsupport::FakeCert::WrongName, .http = false}};
};

std::unique_ptr<Fakes> fakes;

// Starts the fakes and points the client's settings at them before any test makes a web view.
class BrowserFakesEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        fakes = std::make_unique<Fakes>();
        fakes->trusted.useForClient();
        modWinInet::Settings().connectTo = std::string(kUntrustedHost) + ":443:127.0.0.1:" +
                                           std::to_string(fakes->untrusted.httpsPort()) + ";" + kWrongNameHost +
                                           ":443:127.0.0.1:" + std::to_string(fakes->wrongName.httpsPort()) + ";" +
                                           fakes->trusted.connectTo();
    }
    void TearDown() override { fakes.reset(); }
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new BrowserFakesEnvironment);

}  // namespace

testsupport::FakeService& trustedFake() { return fakes->trusted; }
testsupport::FakeService& untrustedFake() { return fakes->untrusted; }
testsupport::FakeService& wrongNameFake() { return fakes->wrongName; }

}  // namespace browsertest
