// memory_registry.hpp: a registry held in memory, for systems that have none and for tests.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "about/platform.hpp"

namespace numerak {

class MemoryRegistry {
public:
    struct Value {
        std::uint32_t type = Registry::String;
        std::vector<std::uint8_t> data;
    };

    // A text value as the system stores it, with its terminating zero unless told otherwise.
    static Value text(std::string_view s, bool terminated = true);
    static Value number(std::uint32_t n);

    void set(std::uint32_t root, const std::string& key, const std::string& name, Value value);
    // A key that exists but refuses the access asked for.
    void denyAccess(std::uint32_t root, const std::string& key);

    long open(std::uint32_t root, const std::string& subKey, std::uint32_t access, RegistryKey& key);
    long query(RegistryKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
               std::uint32_t& size) const;
    long close(RegistryKey key);

    int openKeys() const { return static_cast<int>(open_.size()); }

private:
    struct Key {
        std::map<std::string, Value> values;  // by lower-case name
        bool denied = false;
    };
    static std::string path(std::uint32_t root, const std::string& key);

    std::map<std::string, Key> keys_;  // by lower-case root and path: names are not case-sensitive
    std::map<RegistryKey, const Key*> open_;
    RegistryKey next_ = 0x100;
};

// A platform whose registry is held in memory; finding files and starting programs are left to
// the platform that builds on it.
class MemoryRegistryPlatform : public Platform {
public:
    MemoryRegistry registry;

    long RegOpenKeyExA(std::uint32_t root, const std::string& subKey, std::uint32_t /*options*/, std::uint32_t access,
                       RegistryKey& key) override {
        return registry.open(root, subKey, access, key);
    }
    long RegQueryValueExA(RegistryKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                          std::uint32_t& size) override {
        return registry.query(key, valueName, type, data, size);
    }
    long RegCloseKey(RegistryKey key) override { return registry.close(key); }
};

}  // namespace numerak
