// numerak.exe as Windows sees it: its version block read back with the version functions and
// as raw data, its icon group against the icon file, its manifest and pictures, every resource's
// language, and the DLLs it needs: numerak_win32_resources_tests <numerak.exe> <numerak.ico>.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::wstring exePath = L"numerak.exe";
std::string icoPath = "numerak.ico";

std::vector<unsigned char> fileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);  // a MinGW stream takes the wide name
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// numerak.exe loaded as data, for its resources.
struct Resources {
    Resources()
        : exe(::LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~Resources() { ::FreeLibrary(exe); }
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;
    std::vector<unsigned char> bytes(LPCWSTR name, LPCWSTR type) const {
        HRSRC r = ::FindResourceW(exe, name, type);
        if (!r) return {};
        const auto* data = static_cast<const unsigned char*>(::LockResource(::LoadResource(exe, r)));
        return {data, data + ::SizeofResource(exe, r)};
    }
    // The numbers naming the resources of a type (a name that is text as 0).
    std::vector<unsigned> names(LPCWSTR type) const {
        std::vector<unsigned> all;
        ::EnumResourceNamesW(
            exe, type,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR into) -> BOOL {
                reinterpret_cast<std::vector<unsigned>*>(into)->push_back(
                    IS_INTRESOURCE(name) ? static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)) : 0);
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&all));
        return all;
    }
    HMODULE exe;
};

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
    EXPECT_EQ(f->dwStrucVersion, 0x00010000u);
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

TEST(RawVersionBlock, theOneVersionBlockHoldsTheStringsInTheirOrderEachEndedByOneZero) {
    const Resources exe;
    EXPECT_EQ(exe.names(MAKEINTRESOURCEW(16)), std::vector<unsigned>{1});  // RT_VERSION
    const std::vector<BYTE> b = exe.bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
    ASSERT_FALSE(b.empty());

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
                EXPECT_EQ(std::wcslen(text) + 1, s.valueLength) << "and has no other";
            }
        }
    }
    std::vector<std::wstring> expected;
    for (const auto& [key, value] : strings) expected.push_back(key);
    EXPECT_EQ(keys, expected);
}

// The one group, 1, names the icons 30001 to 30009, which are the nine images of numerak.ico in
// its order: 16, 32 and 48 pixels, each in 16 colours, 256 and 32 bits.
TEST(ProgramResources, iconGroupOneIsTheIconFilesNineImages30001To30009) {
    const Resources exe;
    EXPECT_EQ(exe.names(MAKEINTRESOURCEW(14)), std::vector<unsigned>{1});  // RT_GROUP_ICON
    std::vector<unsigned> icons(9);
    for (unsigned i = 0; i < 9; ++i) icons[i] = 30001 + i;
    EXPECT_EQ(exe.names(MAKEINTRESOURCEW(3)), icons);  // RT_ICON
    const std::vector<unsigned char> g = exe.bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)),
                                     ico = fileBytes(std::wstring(icoPath.begin(), icoPath.end()));
    auto word = [](const std::vector<unsigned char>& b, std::size_t i) {
        return static_cast<unsigned>(b.at(i) | (b.at(i + 1) << 8));
    };
    ASSERT_GE(g.size(), 6u + 14 * 9);
    ASSERT_GE(ico.size(), 6u + 16 * 9);
    EXPECT_EQ(word(g, 0), 0u);
    EXPECT_EQ(word(g, 2), 1u);
    ASSERT_EQ(word(g, 4), 9u);
    EXPECT_EQ(word(ico, 4), 9u);
    for (unsigned i = 0; i < 9; ++i) {
        const std::size_t entry = 6 + 14 * i, file = 6 + 16 * i;
        const unsigned size = 16 * (1 + i / 3), bits = std::vector<unsigned>{4, 8, 32}[i % 3];
        EXPECT_EQ(std::vector<unsigned>(g.begin() + entry, g.begin() + entry + 3),
                  (std::vector<unsigned>{size, size, bits == 4 ? 16u : 0u}))
            << i;
        EXPECT_EQ(word(g, entry + 4), 1u) << i;  // planes
        EXPECT_EQ(word(g, entry + 6), bits) << i;
        EXPECT_EQ(word(g, entry + 12), 30001 + i);
        const std::vector<unsigned char> image = exe.bytes(MAKEINTRESOURCEW(30001 + i), MAKEINTRESOURCEW(3));
        EXPECT_EQ(image.size(), word(g, entry + 8) | (word(g, entry + 10) << 16)) << i;
        const std::size_t bytes = word(ico, file + 8) | (word(ico, file + 10) << 16),
                          at = word(ico, file + 12) | (word(ico, file + 14) << 16);
        ASSERT_LE(at + bytes, ico.size()) << i;
        ASSERT_GE(image.size(), bytes) << i;
        EXPECT_LE(image.size(), bytes + 1) << i;  // the resource compiler may pad it to an even length
        EXPECT_TRUE(std::equal(ico.begin() + static_cast<std::ptrdiff_t>(at),
                               ico.begin() + static_cast<std::ptrdiff_t>(at + bytes), image.begin()))
            << "icon " << 30001 + i << " is not image " << i << " of numerak.ico";
    }
}

TEST(ProgramResources, everyResourceIsInEnglishAsTheUnitedStatesWritesIt) {
    const Resources exe;
    std::vector<std::string> others;
    ::EnumResourceTypesW(
        exe.exe,
        [](HMODULE module, LPWSTR type, LONG_PTR into) -> BOOL {
            ::EnumResourceNamesW(
                module, type,
                [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR into) -> BOOL {
                    ::EnumResourceLanguagesW(
                        module, type, name,
                        [](HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR into) -> BOOL {
                            if (language != 1033)
                                reinterpret_cast<std::vector<std::string>*>(into)->push_back(
                                    std::to_string(reinterpret_cast<ULONG_PTR>(type)) + "/" +
                                    (IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name))
                                                          : "text") +
                                    ": " + std::to_string(language));
                            return TRUE;
                        },
                        into);
                    return TRUE;
                },
                into);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&others));
    EXPECT_EQ(others, std::vector<std::string>{});
}

TEST(ProgramResources, manifestAndBannerAreBuiltIn) {
    const Resources exe;
    const std::vector<unsigned char> m = exe.bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    const std::string manifest(m.begin(), m.end());
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    for (const wchar_t* name : {L"BANNER_JPG", L"BANNER_2X_JPG"}) {                     // and at twice the size
        const std::vector<unsigned char> jpeg = exe.bytes(name, MAKEINTRESOURCEW(10));  // RT_RCDATA
        ASSERT_GT(jpeg.size(), 2u);
        EXPECT_EQ(jpeg[0], 0xFF);
        EXPECT_EQ(jpeg[1], 0xD8);
    }
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
    const std::vector<unsigned char> bytes = fileBytes(exePath);
    const std::vector<char> file(bytes.begin(), bytes.end());
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
    if (argc > 2) icoPath = argv[2];
    return RUN_ALL_TESTS();
}
