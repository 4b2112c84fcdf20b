// identity.hpp: what a program is called and which version it is: fixed when it is built,
// handed by its start to whatever shows it.
#pragma once

#include <cstdint>
#include <string_view>

namespace numerak {

struct AppIdentity {
    std::string_view AppTitle;
    std::string_view ProjectName;
    std::string_view ExecutableName;  // the program file, without .exe
    std::int16_t VersionMajor = 0;
    std::int16_t VersionMinor = 0;
    std::int16_t VersionRevision = 0;
    std::string_view HelpFile;  // empty: no help file
    std::uint16_t Locale = 0;   // a Windows language id
};

}  // namespace numerak
