// frmabout.hpp: the About window: the title and version, and the System Info button.
#pragma once

#include <cstdint>
#include <string>

#include "about/platform.hpp"
#include "runtime/identity.hpp"
#include "runtime/services.hpp"

namespace numerak {

class frmAbout : public FormLogic {
public:
    // identity: the title and version the window shows.
    frmAbout(Runtime& runtime, Platform& platform, const AppIdentity& identity);

    const WindowDesign& design() const override;
    void attach(Form* form) override { form_ = form; }
    std::vector<Route> routes() override;

    void Form_Load() override;
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Finds the system-information tool through the registry and starts it, or says it is
    // unavailable.
    void StartSysInfo();

    // Reads one registry value as text into KeyVal: -1 when it was read, 0 when not.
    std::int16_t GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                             std::string& KeyVal);

private:
    Runtime& runtime_;
    Platform& platform_;
    AppIdentity identity_;
    Form* form_ = nullptr;
};

}  // namespace numerak
