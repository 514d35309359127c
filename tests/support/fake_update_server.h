// fake_update_server.h — the program's update server on 127.0.0.1 (plain HTTP): answers each
// "?q=" query from a table (the version, the contact address...) and records the queries with
// their user agents. Started by the constructor, stopped by the destructor.
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

    // "http://127.0.0.1:<port>/tl2update" (the address the program's setting holds).
    std::string address() const;
    // The body answered to a query that starts with `prefix` (longest prefix wins); 404 otherwise.
    void answer(const std::string& prefix, const std::string& body);
    std::vector<Asked> asked() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace testsupport
