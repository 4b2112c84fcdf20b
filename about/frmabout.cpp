// frmabout.cpp: the About window's handlers and the system-information launcher.
#include "about/frmabout.hpp"

#include <array>
#include <cstdio>

#include "runtime/conversions.hpp"
#include "runtime/language.hpp"
#include "ui/designs.hpp"

namespace numerak {

namespace {

constexpr const char* toolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* toolValue = "PATH";
constexpr const char* folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* folderValue = "MSINFO";
constexpr const char* toolFile = "\\MSINFO32.EXE";
constexpr int normalFocusedWindow = 1;
constexpr std::uint32_t bufferSize = 1024;

// Upper-case hexadecimal without leading zeros.
std::string hex(std::uint32_t n) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(n));
    return digits;
}

}  // namespace

frmAbout::frmAbout(Runtime& runtime, Platform& platform, const AppIdentity& identity)
    : runtime_(runtime), platform_(platform), identity_(identity) {}

const WindowDesign& frmAbout::design() const { return ui::frmAboutDesign(); }

std::vector<Route> frmAbout::routes() {
    return {
        {"cmdOK", [this] { cmdOK_Click(); }},
        {"cmdSysInfo", [this] { cmdSysInfo_Click(); }},
    };
}

void frmAbout::Form_Load() {
    form_->setCaption(TranslateWith("About %s", identity_.AppTitle));
    (*form_)["lblVersion"].setCaption(std::string(Translate("Version ")) + IntegerText(identity_.VersionMajor) + "." +
                                      IntegerText(identity_.VersionMinor) + "." +
                                      IntegerText(identity_.VersionRevision));
    (*form_)["lblTitle"].setCaption(std::string(identity_.AppTitle));
}

// The About window has no unload handler: nothing can keep it open.
void frmAbout::cmdOK_Click() { runtime_.UnloadWindow(*this); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
    try {
        std::string path;
        bool found = GetKeyValue(Registry::LocalMachine, toolKey, toolValue, path) == -1;
        if (!found && GetKeyValue(Registry::LocalMachine, folderKey, folderValue, path) == -1 &&
            !platform_.FindFile(path + toolFile).empty()) {
            path += toolFile;
            found = true;
        }
        if (found) {
            platform_.StartProgram(path, normalFocusedWindow);
            return;
        }
    } catch (const RuntimeFailure&) {
        // Whatever failed, the player hears the same.
    }
    runtime_.ShowMessage(Translate("System Information Is Unavailable At This Time"), std::nullopt, Buttons::Ok);
}

std::int16_t frmAbout::GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                                   std::string& KeyVal) {
    // The key is closed on every way out, a failure included.
    struct OpenKey {
        Platform& platform;
        RegistryKey handle = 0;
        ~OpenKey() { platform.RegCloseKey(handle); }
    } key{platform_};

    // Read access is all this needs, and all an ordinary user is granted there.
    if (platform_.RegOpenKeyExA(KeyRoot, KeyName, 0, Registry::Read, key.handle) != Registry::Success) {
        KeyVal.clear();
        return 0;
    }
    std::array<std::uint8_t, bufferSize> buffer{};
    std::uint32_t size = bufferSize;
    std::uint32_t type = 0;
    if (platform_.RegQueryValueExA(key.handle, SubKeyRef, type, buffer.data(), size) != Registry::Success ||
        size > bufferSize) {
        KeyVal.clear();
        return 0;
    }
    if (size == 0) throw RuntimeFailure("Invalid procedure call or argument");

    if (type == Registry::String) {
        // Text stored with its terminating zero is read without it.
        const std::size_t length = buffer[size - 1] == 0 ? size - 1 : size;
        KeyVal.assign(reinterpret_cast<const char*>(buffer.data()), length);
    } else if (type == Registry::Number) {
        std::uint32_t n = 0;
        for (std::uint32_t i = 0; i < size && i < 4; ++i) n |= static_cast<std::uint32_t>(buffer[i]) << (8 * i);
        KeyVal = "&h" + hex(n);
    }
    // Any other type is read but gives no text: KeyVal stays as it was.
    return -1;
}

}  // namespace numerak
