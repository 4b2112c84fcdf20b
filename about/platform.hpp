// platform.hpp: what the About window needs of the operating system: the registry, looking for a
// file and starting a program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/failure.hpp"

namespace numerak {

// A failure of the operating system that a handler traps like any other.
class PlatformFailure : public RuntimeFailure {
public:
    using RuntimeFailure::RuntimeFailure;
};

using RegistryKey = std::uint64_t;  // an open key's handle; 0 is none

namespace Registry {
constexpr std::uint32_t LocalMachine = 0x80000002;  // HKEY_LOCAL_MACHINE
constexpr std::uint32_t Read = 0x20019;             // KEY_READ
constexpr std::uint32_t String = 1;                 // REG_SZ
constexpr std::uint32_t Number = 4;                 // REG_DWORD
constexpr long Success = 0;
constexpr long FileNotFound = 2;
constexpr long AccessDenied = 5;
constexpr long InvalidHandle = 6;
constexpr long MoreData = 234;
}  // namespace Registry

class Platform {
public:
    virtual ~Platform() = default;

    // The registry calls, with their Windows arguments and results: 0 on success, else an error code.
    virtual long RegOpenKeyExA(std::uint32_t root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, RegistryKey& key) = 0;
    // size is in: the buffer's capacity; out: the bytes written. A value larger than the buffer
    // is an error.
    virtual long RegQueryValueExA(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                                  std::uint8_t* data, std::uint32_t& size) = 0;
    virtual long RegCloseKey(RegistryKey key) = 0;

    // The name of the file at the path, or empty text when there is none; hidden and system files
    // and folders do not count. PlatformFailure when the path cannot be searched.
    virtual std::string FindFile(const std::string& path) = 0;

    // Starts the program at the path on its own, without waiting for it and without any shell;
    // returns its task number. PlatformFailure when it cannot be started.
    virtual std::int64_t StartProgram(const std::string& path, int windowStyle) = 0;
};

// The implementation for the system the program was built for.
std::unique_ptr<Platform> makeSystemPlatform();

}  // namespace numerak
