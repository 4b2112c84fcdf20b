// picture.hpp: the designs' pictures, decoded from numerak.exe's resources by the system.
#pragma once

#include <string_view>

#include <windows.h>

namespace numerak::win32 {

// The resource a picture file is stored as: its name in upper case, the dot as an underscore
// ("banner.jpg" is BANNER_JPG).
std::wstring pictureResourceName(std::string_view fileName);

// A 32-bit top-down bitmap of the picture, owned by the caller; null when the picture is
// missing or cannot be decoded.
HBITMAP loadPicture(HINSTANCE module, std::string_view fileName);

}  // namespace numerak::win32
