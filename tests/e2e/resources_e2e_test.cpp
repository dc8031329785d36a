#include <gtest/gtest.h>

#include "driver_win.h"

namespace velkor::e2e {
namespace {

TEST(ResourcesE2E, ExecutableCarriesIconAndVersion) {
  ProgramUnderTest program;
  const std::wstring exe = program.RunDir() / Widen(VELKOR_EXE_NAME);
  const UniqueModule module(
      LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module);
  HMODULE image = module.get();
  HRSRC group = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_TRUE(group);
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(image, group)));
  for (int size : {16, 32, 48, 256}) {
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC icon = FindResourceW(image, MAKEINTRESOURCEW(id), RT_ICON);
    ASSERT_TRUE(icon) << size;
    const UniqueIcon handle(CreateIconFromResourceEx(static_cast<BYTE*>(LockResource(LoadResource(image, icon))),
                                                     SizeofResource(image, icon), TRUE, 0x00030000, size, size,
                                                     LR_DEFAULTCOLOR));
    ASSERT_TRUE(handle) << size;
    ICONINFO info{};
    GetIconInfo(handle.get(), &info);
    const UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(color.get(), sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
  }

  DWORD ignored = 0;
  std::vector<BYTE> version(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    return VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ? Narrow(value)
                                                                                                   : std::string();
  };
  EXPECT_EQ(text(L"ProductName"), "Windows多Velkor");
  EXPECT_EQ(text(L"ProductVersion"), "1.2");
  EXPECT_EQ(text(L"FileDescription").rfind("Windows多Velkor", 0), 0u);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
}

}  // namespace
}  // namespace velkor::e2e
