// fake_picture_server.h — pictures on 127.0.0.1 (plain HTTP) for the page export: each path
// answers its bytes, any other path 404; counts the requests per path.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace testsupport {

class FakePictureServer {
public:
    FakePictureServer();
    ~FakePictureServer();

    // "http://127.0.0.1:<port>"
    std::string base() const;
    void serve(const std::string& path, const std::string& bytes);
    int requests(const std::string& path) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace testsupport
