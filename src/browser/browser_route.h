// browser_route.h — the browser window reaches the service by the same road as the HTTP client.
//
// The client's connect-to map (modWinInet::Settings().connectTo: "host:port:connect-host:connect-port"
// entries joined by ";", an empty host or port standing for any) becomes the web engine's host
// rules. The engine reads them once, when it starts, so they are set before the first web view is
// made. The engine trusts the system's authorities; a certificate it does not trust is accepted
// only when its chain verifies, for the page's host, against the certificates of the client's CA
// file (Settings().caFile) and nothing else. Without a CA file nothing more is trusted.
#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>
#include <string>

namespace browserroute {

// The web engine's host rules for a connect-to map, in the map's order ("MAP *:443 127.0.0.1:8443,
// MAP www.ebay.com 10.1.1.1"); "" when the map has no entry the engine can follow.
std::string Host_Resolver_Rules(const std::string& connectTo);

// Adds the host rules of the client's map to the web engine's start flags (QTWEBENGINE_CHROMIUM_FLAGS).
// Called before every new web view; only the first call does anything.
void Prepare_Web_Engine();

// Whether chain (the server's certificate first, then the ones it sent with it) leads to a
// certificate of caFile, is valid now, is meant for a server, and names host.
bool Chain_Trusted(const QList<QSslCertificate>& chain, const QString& host, const std::string& caFile);

}  // namespace browserroute
