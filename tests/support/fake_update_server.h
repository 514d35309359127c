// fake_update_server.h — the program's update server on 127.0.0.1 over HTTPS (the fake service's
// certificate; the client trusts the fake CA while the server runs): answers each
// "?q=" query from a table (the version, the contact address, an update's information and
// packages, good or damaged) and records the queries with their user agents. Started by the
// constructor, stopped by the destructor.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class FakeUpdateServer {
public:
    struct Asked { std::string query, userAgent; };

    FakeUpdateServer();
    ~FakeUpdateServer();

    // "https://127.0.0.1:<port>/tl2update" (the address the program's setting holds).
    std::string address() const;
    // The body answered to a query that starts with `prefix` (longest prefix wins); 404 otherwise.
    void answer(const std::string& prefix, const std::string& body);
    std::vector<Asked> asked() const;
    // The queries asked so far, in order.
    std::vector<std::string> queries() const;

    // --- Updates ---
    struct UpdateFile { std::string name, bytes; };
    // The files back to back: the package as it inflates.
    static std::string packageOf(const std::vector<UpdateFile>& files);
    // The update's information for the files, as the program reads it deciphered: the package's
    // Adler-32 (sums from 0, 8 upper-case hexadecimal digits), its size, the number of files, then
    // each file's size and name; CR LF after each line.
    static std::string updateInfo(const std::vector<UpdateFile>& files);
    // Offers an update of `version`: the information enciphered with `phrase` ("UI-<version>"), the
    // package gzipped ("UG-<version>") and as it is ("UU-<version>").
    void publishUpdate(const std::string& version, const std::string& info, const std::string& package,
                       const std::string& phrase);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace testsupport
