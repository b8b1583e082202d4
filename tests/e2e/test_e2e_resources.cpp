#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"

namespace {

// The program file opened as data, the way Explorer reads its properties.
struct ExeAsData {
    HMODULE h = LoadLibraryExW(drv::beside_driver(L"quorvel-dint.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ~ExeAsData() { if (h) FreeLibrary(h); }
};

std::wstring menu_item(HMENU hMenu, UINT uiPos)
{
    wchar_t buf[64] = {};
    GetMenuStringW(hMenu, uiPos, buf, 64, MF_BYPOSITION);
    return buf;
}

}  // namespace

TEST(ProgramFile, VersionInformationNamesTheProduct)
{
    std::wstring exe = drv::beside_driver(L"quorvel-dint.exe");
    DWORD dwHandle = 0;
    DWORD dwSize = GetFileVersionInfoSizeW(exe.c_str(), &dwHandle);
    ASSERT_GT(dwSize, 0u);
    std::vector<uint8_t> info(dwSize);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, dwSize, info.data()));
    wchar_t* ptc = nullptr;
    UINT uiLen = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904b0\\ProductName", reinterpret_cast<void**>(&ptc), &uiLen));
    EXPECT_STREQ(L"Quorvel-Dint", ptc);
    VS_FIXEDFILEINFO* pFixed = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&pFixed), &uiLen));
    EXPECT_EQ(0xFEEF04BDu, pFixed->dwSignature);
}

TEST(ProgramFile, CarriesIconMenusAndCommonControlsManifest)
{
    ExeAsData exe;
    ASSERT_NE(nullptr, exe.h);
    HICON hIcon = static_cast<HICON>(LoadImageW(exe.h, MAKEINTRESOURCEW(200), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    EXPECT_NE(nullptr, hIcon);
    if (hIcon) DestroyIcon(hIcon);

    HMENU hMain = LoadMenuW(exe.h, L"menu_main");
    ASSERT_NE(nullptr, hMain);
    EXPECT_EQ(1, GetMenuItemCount(hMain));
    EXPECT_EQ(L"About", menu_item(hMain, 0));
    EXPECT_EQ(9u, GetMenuItemID(hMain, 0));
    DestroyMenu(hMain);

    HMENU hPopup = LoadMenuW(exe.h, L"menu_popup_ModifyCell");
    ASSERT_NE(nullptr, hPopup);
    HMENU hSub = GetSubMenu(hPopup, 0);
    ASSERT_NE(nullptr, hSub);
    EXPECT_EQ(L"Modify Cell", menu_item(hSub, 0));
    EXPECT_EQ(101u, GetMenuItemID(hSub, 0));
    DestroyMenu(hPopup);

    HRSRC hRes = FindResourceW(exe.h, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(nullptr, hRes);
    const char* pc = static_cast<const char*>(LockResource(LoadResource(exe.h, hRes)));
    std::string manifest(pc, SizeofResource(exe.h, hRes));
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, manifest.find(sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\""));
}
