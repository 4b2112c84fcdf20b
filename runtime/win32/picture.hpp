// picture.hpp: the designs' pictures, decoded from numerak.exe's resources by the system.
#pragma once

#include <string_view>

#include <windows.h>

namespace numerak::win32 {

// The resource a picture file is stored as: its name in upper case, anything but letters and
// digits as an underscore ("banner.jpg" is BANNER_JPG, "banner@2x.jpg" BANNER_2X_JPG).
std::wstring pictureResourceName(std::string_view fileName);

// A 32-bit top-down bitmap of the picture, owned by the caller; null when the picture is
// missing or cannot be decoded. Drawn for a screen of dpi dots per inch, smoothly scaled, where
// the file was drawn for fileDpi.
HBITMAP loadPicture(HINSTANCE module, std::string_view fileName, UINT dpi = 96, UINT fileDpi = 96);

// The picture of a design for a screen of this DPI: the file as it is at 96, above that the one
// drawn at twice its size (and only where there is none, the file itself), scaled to the DPI.
HBITMAP loadPictureForDpi(HINSTANCE module, std::string_view fileName, UINT dpi);

}  // namespace numerak::win32
