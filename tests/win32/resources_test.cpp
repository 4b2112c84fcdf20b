// numerak.exe as Windows sees it: its version block read back with the version functions and
// as raw data, its icon group, its manifest and pictures, and the DLLs it needs:
// numerak_win32_resources_tests <numerak.exe>.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::wstring exePath = L"numerak.exe";

const std::vector<std::pair<std::wstring, std::wstring>> strings{
    {L"Comments",
     L"Numerak, the game where you must think inside the box. Select your game difficulty, then attempt the guess four "
     L"numbers in the middle of two other numbers. But be warned, you have a limited amount of turns to do it in! "},
    {L"CompanyName", L"Numerak Developers"},
    {L"ProductName", L"Numerak"},
    {L"FileVersion", L"" NUMERAK_VERSION_TEXT},
    {L"ProductVersion", L"" NUMERAK_VERSION_TEXT},
    {L"InternalName", L"numerak"},
    {L"OriginalFilename", L"numerak.exe"},
};

class VersionBlock : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(exePath.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version block in numerak.exe";
        block.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoW(exePath.c_str(), 0, size, block.data()));
    }
    template <class T>
    const T* query(const std::wstring& path, UINT& length) {
        void* p = nullptr;
        length = 0;
        return ::VerQueryValueW(block.data(), path.c_str(), &p, &length) ? static_cast<const T*>(p) : nullptr;
    }
    std::vector<BYTE> block;
};

TEST_F(VersionBlock, everyFixedField) {
    UINT length = 0;
    const auto* f = query<VS_FIXEDFILEINFO>(L"\\", length);
    const DWORD versionHigh = NUMERAK_VERSION_MAJOR << 16 | NUMERAK_VERSION_MINOR, versionLow = NUMERAK_VERSION_PATCH;
    ASSERT_TRUE(f);
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(f->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(f->dwFileVersionMS, versionHigh);  // major.minor.0.revision
    EXPECT_EQ(f->dwFileVersionLS, versionLow);
    EXPECT_EQ(f->dwProductVersionMS, versionHigh);
    EXPECT_EQ(f->dwProductVersionLS, versionLow);
    EXPECT_EQ(f->dwFileFlagsMask, 0u);
    EXPECT_EQ(f->dwFileFlags, 0u);
    EXPECT_EQ(f->dwFileOS, 0x4u);  // VOS__WINDOWS32
    EXPECT_EQ(f->dwFileType, 1u);  // VFT_APP
    EXPECT_EQ(f->dwFileSubtype, 0u);
    EXPECT_EQ(f->dwFileDateMS, 0u);
    EXPECT_EQ(f->dwFileDateLS, 0u);
}

TEST_F(VersionBlock, everyStringExactlyAndTheTranslation) {
    for (const auto& [key, value] : strings) {
        UINT length = 0;
        const auto* s = query<wchar_t>(L"\\StringFileInfo\\040904B0\\" + key, length);
        ASSERT_TRUE(s) << std::string(key.begin(), key.end());
        EXPECT_EQ(std::wstring(s), value) << std::string(key.begin(), key.end());
    }
    UINT length = 0;
    const auto* t = query<WORD>(L"\\VarFileInfo\\Translation", length);
    ASSERT_TRUE(t);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(t[0], 0x0409);
    EXPECT_EQ(t[1], 0x04B0);
}

// One node of the raw block: its length, value length, type, key, then its value and children,
// each on a 32-bit boundary.
struct Node {
    std::size_t at = 0, end = 0, value = 0, children = 0;
    WORD valueLength = 0, type = 0;
    std::wstring key;
};

Node node(const std::vector<BYTE>& b, std::size_t at) {
    auto word = [&](std::size_t i) { return static_cast<WORD>(b.at(i) | (b.at(i + 1) << 8)); };
    Node n;
    n.at = at;
    n.end = at + word(at);
    n.valueLength = word(at + 2);
    n.type = word(at + 4);
    std::size_t i = at + 6;
    for (; word(i) != 0; i += 2) n.key += static_cast<wchar_t>(word(i));
    n.value = (i + 2 + 3) & ~std::size_t{3};
    const std::size_t valueBytes = n.type == 1 ? n.valueLength * 2u : n.valueLength;
    n.children = (n.value + valueBytes + 3) & ~std::size_t{3};
    return n;
}

std::vector<Node> children(const std::vector<BYTE>& b, const Node& parent) {
    std::vector<Node> out;
    for (std::size_t at = parent.children; at + 6 <= parent.end; at = (out.back().end + 3) & ~std::size_t{3}) {
        out.push_back(node(b, at));
        if (out.back().end <= at) break;
    }
    return out;
}

TEST(RawVersionBlock, theStringsStandInTheirOrderEachEndedByItsZero) {
    HMODULE exe = ::LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(exe);
    HRSRC r = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
    ASSERT_TRUE(r);
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(exe, r)));
    const std::vector<BYTE> b(data, data + ::SizeofResource(exe, r));
    ::FreeLibrary(exe);

    const Node root = node(b, 0);
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    std::vector<std::wstring> keys;
    for (const Node& info : children(b, root)) {
        if (info.key != L"StringFileInfo") continue;
        for (const Node& table : children(b, info)) {
            EXPECT_EQ(table.key, L"040904B0");
            for (const Node& s : children(b, table)) {
                keys.push_back(s.key);
                ASSERT_GT(s.valueLength, 0);
                const auto* text = reinterpret_cast<const wchar_t*>(&b.at(s.value));
                EXPECT_EQ(text[s.valueLength - 1], L'\0') << "each value ends with its zero";
            }
        }
    }
    std::vector<std::wstring> expected;
    for (const auto& [key, value] : strings) expected.push_back(key);
    EXPECT_EQ(keys, expected);
}

TEST(ProgramResources, iconGroupOneHoldsNineImages30001To30009) {
    HMODULE exe = ::LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(exe);
    HRSRC group = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_TRUE(group);
    const auto* g = static_cast<const BYTE*>(::LockResource(::LoadResource(exe, group)));
    auto word = [&](std::size_t i) { return static_cast<unsigned>(g[i] | (g[i + 1] << 8)); };
    EXPECT_EQ(word(0), 0u);
    EXPECT_EQ(word(2), 1u);
    ASSERT_EQ(word(4), 9u);
    for (unsigned i = 0; i < 9; ++i) {
        const std::size_t entry = 6 + 14 * i;
        const unsigned id = word(entry + 12);
        EXPECT_EQ(id, 30001 + i);
        HRSRC image = ::FindResourceW(exe, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3));  // RT_ICON
        ASSERT_TRUE(image) << id;
        EXPECT_EQ(::SizeofResource(exe, image), word(entry + 8) | (word(entry + 10) << 16)) << id;
    }
    ::FreeLibrary(exe);
}

TEST(ProgramResources, manifestAndBannerAreBuiltIn) {
    HMODULE exe = ::LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(exe);
    HRSRC m = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_TRUE(m);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(exe, m))),
                               ::SizeofResource(exe, m));
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    for (const wchar_t* name : {L"BANNER_JPG", L"BANNER_2X_JPG"}) {       // and at twice the size
        HRSRC banner = ::FindResourceW(exe, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
        ASSERT_TRUE(banner);
        const auto* jpeg = static_cast<const BYTE*>(::LockResource(::LoadResource(exe, banner)));
        ASSERT_GT(::SizeofResource(exe, banner), 2u);
        EXPECT_EQ(jpeg[0], 0xFF);
        EXPECT_EQ(jpeg[1], 0xD8);
    }
    ::FreeLibrary(exe);
}

// The DLL names of the import directory, read from the file as it lies on disk.
std::vector<std::string> importedDlls(const std::vector<char>& f) {
    auto at = [&](std::size_t i, std::size_t n) {
        std::uint64_t v = 0;
        for (std::size_t k = n; k-- > 0;) v = (v << 8) | static_cast<unsigned char>(f.at(i + k));
        return v;
    };
    const std::size_t pe = at(0x3C, 4), optional = pe + 24;
    const std::size_t sections = optional + at(pe + 20, 2), count = at(pe + 6, 2);
    const std::uint64_t importRva = at(optional + 120, 4);  // PE32+: data directory 1
    auto offset = [&](std::uint64_t rva) -> std::size_t {
        for (std::size_t s = 0; s < count; ++s) {
            const std::size_t h = sections + 40 * s;
            const std::uint64_t va = at(h + 12, 4), size = at(h + 16, 4), raw = at(h + 20, 4);
            if (rva >= va && rva < va + size) return static_cast<std::size_t>(rva - va + raw);
        }
        return 0;
    };
    std::vector<std::string> names;
    for (std::size_t d = offset(importRva); d && at(d + 12, 4) != 0; d += 20)
        names.emplace_back(&f.at(offset(at(d + 12, 4))));
    return names;
}

TEST(ProgramResources, importsNothingButSystemDlls) {
    std::ifstream in(exePath.c_str(), std::ios::binary);  // a MinGW stream takes the wide name
    const std::vector<char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(file.size(), 0x40u);
    const std::vector<std::string> system{"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll",
                                          "msvcrt.dll",   "ole32.dll",    "user32.dll"};
    const auto names = importedDlls(file);
    EXPECT_FALSE(names.empty());
    for (std::string name : names) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_NE(std::find(system.begin(), system.end(), name), system.end()) << name << " is not part of Windows";
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) exePath = std::wstring(argv[1], argv[1] + std::strlen(argv[1]));
    return RUN_ALL_TESTS();
}
