// memory_registry.cpp
#include "about/memory_registry.hpp"

#include <algorithm>
#include <cstring>

namespace numerak {

namespace {

// Key names compare as Windows compares them, without regard to case; in ASCII alone, whatever the
// locale (Turkish lower-cases "I" to "ı", and then "MSINFO" would not find "msinfo").
std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return s;
}

}  // namespace

MemoryRegistry::Value MemoryRegistry::text(std::string_view s, bool terminated) {
    Value v{Registry::String, std::vector<std::uint8_t>(s.begin(), s.end())};
    if (terminated) v.data.push_back(0);
    return v;
}

MemoryRegistry::Value MemoryRegistry::number(std::uint32_t n) {
    return {Registry::Number,
            {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
             static_cast<std::uint8_t>(n >> 24)}};
}

std::string MemoryRegistry::path(std::uint32_t root, const std::string& key) {
    return std::to_string(root) + '\\' + lower(key);
}

void MemoryRegistry::set(std::uint32_t root, const std::string& key, const std::string& name, Value value) {
    keys_[path(root, key)].values[lower(name)] = std::move(value);
}

void MemoryRegistry::denyAccess(std::uint32_t root, const std::string& key) { keys_[path(root, key)].denied = true; }

long MemoryRegistry::open(std::uint32_t root, const std::string& subKey, std::uint32_t access, RegistryKey& key) {
    key = 0;
    const auto it = keys_.find(path(root, subKey));
    if (it == keys_.end()) return Registry::FileNotFound;
    // Only reading is ever granted here, as to an ordinary user on a real system.
    if (it->second.denied || (access & ~Registry::Read) != 0) return Registry::AccessDenied;
    key = next_++;
    open_[key] = &it->second;
    return Registry::Success;
}

long MemoryRegistry::query(RegistryKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                           std::uint32_t& size) const {
    const auto k = open_.find(key);
    if (k == open_.end()) return Registry::InvalidHandle;
    const auto v = k->second->values.find(lower(valueName));
    if (v == k->second->values.end()) return Registry::FileNotFound;
    const std::uint32_t needed = static_cast<std::uint32_t>(v->second.data.size());
    type = v->second.type;
    if (needed > size) {
        size = needed;
        return Registry::MoreData;
    }
    if (needed > 0) std::memcpy(data, v->second.data.data(), needed);
    size = needed;
    return Registry::Success;
}

long MemoryRegistry::close(RegistryKey key) { return open_.erase(key) ? Registry::Success : Registry::InvalidHandle; }

}  // namespace numerak
