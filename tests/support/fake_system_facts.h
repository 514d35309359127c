// fake_system_facts.h — system files, memory and user rights that a test scripts.
//
// Installs itself for its lifetime; a file not given reads as missing.
#pragma once

#include <map>

#include "platform/system_facts.h"

namespace testsupport {

class FakeSystemFacts final : public platform::SystemFacts {
public:
    FakeSystemFacts() { platform::setSystemFactsForTests(this); }
    ~FakeSystemFacts() override { platform::setSystemFactsForTests(nullptr); }

    std::map<std::string, std::string> files;
    std::optional<platform::MemoryStatus> memory;
    unsigned uid = 1000;
    std::vector<std::string> groups;

    std::optional<std::string> readFile(const std::string& path) const override {
        const auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    std::optional<platform::MemoryStatus> memoryStatus() const override { return memory; }
    unsigned effectiveUserId() const override { return uid; }
    std::vector<std::string> groupNames() const override { return groups; }
};

}  // namespace testsupport
