// fake_platform.hpp: a platform whose registry, files and programs a test sets up.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "about/memory_registry.hpp"
#include "about/platform.hpp"

namespace numerak::test {

class FakePlatform : public MemoryRegistryPlatform {
public:
    std::set<std::string> files;     // paths FindFile finds
    std::set<std::string> programs;  // paths StartProgram can start
    bool searchFails = false;

    std::vector<std::uint32_t> accessAsked;
    std::vector<std::string> searched;
    std::vector<std::pair<std::string, int>> started;

    long RegOpenKeyExA(std::uint32_t root, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                       RegistryKey& key) override {
        accessAsked.push_back(access);
        return MemoryRegistryPlatform::RegOpenKeyExA(root, subKey, options, access, key);
    }

    std::string FindFile(const std::string& path) override {
        searched.push_back(path);
        if (searchFails) throw PlatformFailure("Bad file name or number");
        return files.count(path) ? path.substr(path.find_last_of('\\') + 1) : std::string();
    }
    std::int64_t StartProgram(const std::string& path, int style) override {
        if (!programs.count(path)) throw PlatformFailure("File not found");
        started.emplace_back(path, style);
        return 42;
    }
};

}  // namespace numerak::test
