// The executable's version resource and application manifest, read back
// from the built program as Explorer and the loader read them.
#include <windows.h>

#include <commdlg.h>
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <wincrypt.h>
#include <winsock2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "res/version.h"

namespace {

std::wstring editorPath() {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path = own;
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"rpgitem-editor.exe";
}

std::wstring wideOf(const char* text) {
    std::wstring wide;
    for (; *text; ++text) wide += static_cast<wchar_t>(*text);
    return wide;
}

class VersionResourceTest : public testing::Test {
protected:
    void SetUp() override {
        const std::wstring path = editorPath();
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource in the program";
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data_.data()));
    }
    std::wstring value(const std::wstring& name) {
        void* text = nullptr;
        UINT length = 0;
        const std::wstring key = L"\\StringFileInfo\\080404b0\\" + name;
        if (!VerQueryValueW(data_.data(), key.c_str(), &text, &length) || !text || length == 0) return {};
        return static_cast<const wchar_t*>(text);
    }
    std::vector<BYTE> data_;
};

std::string manifestOf(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return {};
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        if (bytes) text.assign(bytes, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

}  // namespace

TEST_F(VersionResourceTest, FixedPartNamesTheVersionAndAnApplication) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(RPGITEM_VERSION_MINOR, RPGITEM_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(RPGITEM_VERSION_BUILD, RPGITEM_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags & VS_FF_DEBUG, 0u);
}

TEST_F(VersionResourceTest, TextsAreChineseUnicodeAndMatchTheFixedPart) {
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(
        VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, sizeof(Translation));
    EXPECT_EQ(translation->language, 0x0804);
    EXPECT_EQ(translation->codePage, 1200);
    EXPECT_EQ(value(L"ProductName"), L"『Qelvo』 RPGitem 编辑器");
    EXPECT_EQ(value(L"FileDescription"), L"RPGitem 物品编辑器");
    EXPECT_EQ(value(L"LegalCopyright"), L"Copyright © 2026 Qelvo");
    EXPECT_EQ(value(L"FileVersion"), wideOf(RPGITEM_VERSION_TEXT));
    EXPECT_EQ(value(L"ProductVersion"), wideOf(RPGITEM_VERSION_TEXT));
    EXPECT_EQ(value(L"OriginalFilename"), L"rpgitem-editor.exe");
}

TEST(ApplicationManifest, IsResourceOneAndRunsAsInvokerOnEverySystemFromVista) {
    const std::string manifest = manifestOf(editorPath());
    ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1 in the program";
    EXPECT_TRUE(contains(manifest, "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
    EXPECT_TRUE(contains(manifest, ">false</dpiAware>")) << "scaled by the system, laid out in pixels";
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
        EXPECT_TRUE(contains(manifest, std::string("<supportedOS Id=\"{") + os + "}\"/>")) << os;
    }
}

TEST(ApplicationManifest, TheLoaderAcceptsItAndTheControlsStayTheClassicOnes) {
    // An activation context from the program's own resource: fails on a
    // manifest the loader cannot read.
    const std::wstring path = editorPath();
    ACTCTXW context{sizeof(context)};
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE created = CreateActCtxW(&context);
    ASSERT_NE(created, INVALID_HANDLE_VALUE) << GetLastError();
    ReleaseActCtx(created);
    // These tests carry the same manifest: the controls they skin are the
    // system folder's classic ones, which the skin is built for (the
    // side-by-side common controls 6 repaint an edit box wholly on a click).
    EXPECT_FALSE(contains(manifestOf(path), "Microsoft.Windows.Common-Controls"));
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    ASSERT_TRUE(controls);
    wchar_t loaded[MAX_PATH] = {};
    GetModuleFileNameW(controls, loaded, MAX_PATH);
    std::wstring from = loaded;
    CharLowerW(from.data());
    EXPECT_EQ(from.find(L"common-controls"), std::wstring::npos) << std::string(from.begin(), from.end());
}

namespace {

// The DLLs the program's import table names: those the loader maps before
// the program starts.
std::vector<std::string> importedDlls(const std::wstring& path) {
    std::vector<std::string> names;
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return names;
    // Mapped as an image (flagged in the handle's low bits): addresses are base + RVA.
    const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + table.VirtualAddress);
         table.VirtualAddress && entry->Name; ++entry) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        CharLowerA(name.data());
        names.push_back(name);
    }
    FreeLibrary(module);
    return names;
}

// The DLLs of the file dialogs, the passwords' protection and the server
// connections load on their first call: each one the loader maps at start
// costs start-up time. Their functions still answer through the delayed
// imports (here with bad arguments, so that nothing opens).
TEST(ProgramImports, TheDllsOfDialogsPasswordsAndServersLoadOnFirstUse) {
    const std::vector<std::string> names = importedDlls(editorPath());
    ASSERT_FALSE(names.empty());
    auto imported = [&names](const char* dll) { return std::find(names.begin(), names.end(), dll) != names.end(); };
    EXPECT_TRUE(imported("user32.dll"));
    EXPECT_TRUE(imported("gdiplus.dll"));
    for (const char* delayed : {"comdlg32.dll", "crypt32.dll", "ws2_32.dll", "msimg32.dll"}) {
        EXPECT_FALSE(imported(delayed)) << delayed;
    }
    OPENFILENAMEW noSize{};
    EXPECT_FALSE(GetOpenFileNameW(&noSize));
    DWORD length = 0;
    EXPECT_FALSE(CryptBinaryToStringA(nullptr, 0, CRYPT_STRING_BASE64, nullptr, &length));
    EXPECT_EQ(WSAStartup(MAKEWORD(2, 2), nullptr), WSAEFAULT);
}

// The item preview's font is built in only while the program stays within
// 3 MB: past that it would have to draw with a font of the system.
TEST(ProgramSize, StaysWithinThreeMegabytesWithItsFont) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(editorPath().c_str(), GetFileExInfoStandard, &data));
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    EXPECT_LE(size, 3ull * 1024 * 1024);
    HMODULE program = LoadLibraryExW(editorPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program);
    EXPECT_TRUE(FindResourceW(program, MAKEINTRESOURCEW(IDR_UNIFONT_GLYPHS), reinterpret_cast<LPCWSTR>(RT_RCDATA)));
    FreeLibrary(program);
}

}  // namespace
