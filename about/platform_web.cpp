// platform_web.cpp: the platform in a browser, which has neither a registry nor programs to start:
// nothing at either place the launcher looks, so System Info says the tool is unavailable.
#include "about/memory_registry.hpp"
#include "about/platform.hpp"

namespace numerak {

namespace {

class BrowserPlatform : public MemoryRegistryPlatform {
public:
    std::string FindFile(const std::string&) override { return {}; }
    std::int64_t StartProgram(const std::string&, int) override {
        throw PlatformFailure("A page cannot start programs.");
    }
};

}  // namespace

std::unique_ptr<Platform> makeSystemPlatform() { return std::make_unique<BrowserPlatform>(); }

}  // namespace numerak
