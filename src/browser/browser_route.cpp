#include "browser/browser_route.h"

#include <QByteArray>
#include <QHostAddress>
#include <memory>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>
#include <vector>

#include "platform/connect_to.h"
#include "service/wininet.h"

namespace browserroute {
namespace {

bool plainField(const std::string& s) {
    for (const char c : s)
        if (c == ' ' || c == ',' || c == '"' || c == '\t') return false;
    return true;
}

template <typename T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
using X509Ptr = std::unique_ptr<X509, Freer<X509, X509_free>>;
using StorePtr = std::unique_ptr<X509_STORE, Freer<X509_STORE, X509_STORE_free>>;
using StoreCtxPtr = std::unique_ptr<X509_STORE_CTX, Freer<X509_STORE_CTX, X509_STORE_CTX_free>>;

void freeCertStack(STACK_OF(X509) * s) { sk_X509_pop_free(s, X509_free); }
using CertStackPtr = std::unique_ptr<STACK_OF(X509), Freer<STACK_OF(X509), freeCertStack>>;

X509Ptr toX509(const QSslCertificate& cert) {
    const QByteArray der = cert.toDer();
    const auto* p = reinterpret_cast<const unsigned char*>(der.constData());
    return X509Ptr(d2i_X509(nullptr, &p, der.size()));
}

}  // namespace

std::string Host_Resolver_Rules(const std::string& connectTo) {
    std::string rules;
    size_t from = 0;
    while (from <= connectTo.size()) {
        size_t end = connectTo.find(';', from);
        if (end == std::string::npos) end = connectTo.size();
        const std::vector<std::string> f = platform::Connect_To_Fields(connectTo.substr(from, end - from));
        from = end + 1;
        if (f.size() != 4) continue;
        const std::string &host = f[0], &port = f[1], &toHost = f[2], &toPort = f[3];
        // The engine cannot keep a host and change only its port for every host.
        const std::string target = toHost.empty() ? host : toHost;
        if (target.empty()) continue;
        if (!plainField(host) || !plainField(port) || !plainField(target) || !plainField(toPort)) continue;
        if (!rules.empty()) rules += ",";
        rules += "MAP " + (host.empty() ? std::string("*") : host) + (port.empty() ? "" : ":" + port) + " " + target +
                 (toPort.empty() ? "" : ":" + toPort);
    }
    return rules;
}

void Prepare_Web_Engine() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    const std::string rules = Host_Resolver_Rules(modWinInet::Settings().connectTo);
    if (rules.empty()) return;
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.isEmpty()) flags += ' ';
    flags += "\"--host-resolver-rules=" + QByteArray::fromStdString(rules) + "\"";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

bool Chain_Trusted(const QList<QSslCertificate>& chain, const QString& host, const std::string& caFile) {
    if (chain.isEmpty() || host.isEmpty() || caFile.empty()) return false;
    // A store of the CA file's certificates alone: no system authority is looked up.
    StorePtr store(X509_STORE_new());
    if (!store || X509_STORE_load_file(store.get(), caFile.c_str()) != 1) return false;
    X509Ptr leaf = toX509(chain.front());
    CertStackPtr sent(sk_X509_new_null());
    if (!leaf || !sent) return false;
    for (qsizetype i = 1; i < chain.size(); ++i) {
        X509Ptr c = toX509(chain[i]);
        if (!c || !sk_X509_push(sent.get(), c.get())) return false;
        c.release();
    }
    StoreCtxPtr ctx(X509_STORE_CTX_new());
    if (!ctx || X509_STORE_CTX_init(ctx.get(), store.get(), leaf.get(), sent.get()) != 1) return false;
    X509_VERIFY_PARAM* param = X509_STORE_CTX_get0_param(ctx.get());
    X509_VERIFY_PARAM_set_purpose(param, X509_PURPOSE_SSL_SERVER);
    const QByteArray name = host.toUtf8();
    const bool named = QHostAddress(host).isNull() ? X509_VERIFY_PARAM_set1_host(param, name.constData(), name.size()) == 1
                                                    : X509_VERIFY_PARAM_set1_ip_asc(param, name.constData()) == 1;
    return named && X509_verify_cert(ctx.get()) == 1;
}

}  // namespace browserroute
