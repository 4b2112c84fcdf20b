// identity.hpp: the application's fixed identity, read by the About window and the runtime.
#pragma once

#include <cstdint>
#include <string_view>

namespace numerak {

struct AppIdentity {
    static constexpr std::string_view AppTitle = "Numerak";
    static constexpr std::string_view ProjectName = "prjCode";
    static constexpr std::string_view ExecutableName = "numerak";  // the program file is numerak.exe on Windows
    static constexpr std::int16_t VersionMajor = 1;
    static constexpr std::int16_t VersionMinor = 2;
    static constexpr std::int16_t VersionRevision = 1;
    static constexpr std::string_view HelpFile = "";
    static constexpr std::uint16_t Locale = 0x0409;  // English, United States
};

}  // namespace numerak
