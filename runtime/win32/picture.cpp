// picture.cpp: decoding with the Windows Imaging Component, which every Windows has.
#include "runtime/win32/picture.hpp"

#include <wincodec.h>

#include <algorithm>
#include <string>

#include "runtime/design.hpp"
#include "runtime/look.hpp"
#include "runtime/win32/system_library.hpp"

namespace numerak::win32 {

namespace {

template <class T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_) p_->Release();
    }
    T** put() { return &p_; }
    T* operator->() const { return p_; }
    T* get() const { return p_; }

private:
    T* p_ = nullptr;
};

// COM for the calling thread, for as long as the decoding takes.
struct ComApartment {
    const Com& com = Com::get();
    HRESULT result = com.initialize(nullptr, COINIT_APARTMENTTHREADED);
    ~ComApartment() {
        if (SUCCEEDED(result)) com.uninitialize();
    }
};

constexpr UINT largestSide = 16384;  // far beyond any picture of ours; keeps the sizes in range

}  // namespace

std::wstring pictureResourceName(std::string_view fileName) {
    std::wstring name;
    for (char c : fileName)
        name += (c >= 'a' && c <= 'z')                             ? static_cast<wchar_t>(c - 'a' + 'A')
                : (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? static_cast<wchar_t>(c)
                                                                   : L'_';
    return name;
}

HBITMAP loadPicture(HINSTANCE module, std::string_view fileName, UINT dpi, UINT fileDpi) {
    if (fileName.empty()) return nullptr;
    const std::wstring name = pictureResourceName(fileName);
    HRSRC found = ::FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = found ? ::SizeofResource(module, found) : 0;
    if (!data || size == 0) return nullptr;

    if (!Com::get().ready()) return nullptr;
    ComApartment com;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    ComRef<IWICBitmapScaler> scaler;
    UINT width = 0, height = 0;
    if (FAILED(com.com.create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put()))) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), size)) ||
        FAILED(
            factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > largestSide ||
        height > largestSide || dpi == 0 || fileDpi == 0)
        return nullptr;
    IWICBitmapSource* source = converter.get();
    if (dpi != fileDpi) {
        const auto atDpi = [&](UINT n) {
            return std::max(
                1U, static_cast<UINT>(::MulDiv(static_cast<int>(n), static_cast<int>(dpi), static_cast<int>(fileDpi))));
        };
        width = atDpi(width);
        height = atDpi(height);
        if (width > largestSide || height > largestSide || FAILED(factory->CreateBitmapScaler(scaler.put())) ||
            FAILED(scaler->Initialize(converter.get(), width, height, WICBitmapInterpolationModeFant)))
            return nullptr;
        source = scaler.get();
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC writes the rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    const UINT stride = width * 4;
    if (FAILED(source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
        ::DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

HBITMAP loadPictureForDpi(HINSTANCE module, std::string_view fileName, UINT dpi) {
    for (const ScaledPicture& candidate : PicturesForScale(fileName, dpi / double(BaseDpi)))
        if (HBITMAP bitmap = loadPicture(module, candidate.file, dpi, static_cast<UINT>(BaseDpi * candidate.drawnAt)))
            return bitmap;
    return nullptr;
}

}  // namespace numerak::win32
