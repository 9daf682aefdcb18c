// The built executable's resources: its version record, read both through the
// system and at the fixed offsets the about box relies on, the program icon,
// its manifest, and the two button glyph strips placed beside it.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

std::string VersionString(const std::vector<BYTE>& info, const std::string& name) {
  void* value = nullptr;
  UINT len = 0;
  std::string path = "\\StringFileInfo\\040904E4\\" + name;
  if (!VerQueryValueA(info.data(), path.c_str(), &value, &len) || !value) return "<missing>";
  return std::string(static_cast<const char*>(value), strnlen(static_cast<const char*>(value), len));
}

std::string Utf16At(const BYTE* p, size_t limit) {
  std::string s;
  for (size_t i = 0; i + 1 < limit; i += 2) {
    uint16_t c;
    std::memcpy(&c, p + i, 2);
    if (c == 0) break;
    s += c < 128 ? static_cast<char>(c) : '?';
  }
  return s;
}

template <class T>
T At(const BYTE* p, size_t offset) {
  T v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}

TEST(BuiltExecutable, VersionRecordReadsBackThroughTheSystem) {
  const std::string exe = BuiltPendraExe();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
  ASSERT_GT(size, 0u) << exe;
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));

  EXPECT_EQ(VersionString(info, "CompanyName"), "Tavrin Software");
  EXPECT_EQ(VersionString(info, "FileDescription"), "Executable File");
  EXPECT_EQ(VersionString(info, "FileVersion"), "2.0.4.6");
  EXPECT_EQ(VersionString(info, "InternalName"), "Pendra");
  EXPECT_EQ(VersionString(info, "LegalCopyright"), "");
  EXPECT_EQ(VersionString(info, "LegalTrademarks"), "");
  EXPECT_EQ(VersionString(info, "OriginalFilename"), "Pendra.exe");
  EXPECT_EQ(VersionString(info, "ProductName"), "Pendra");
  EXPECT_EQ(VersionString(info, "ProductVersion"), "2.0.4");
  EXPECT_NE(VersionString(info, "Comments"), "<missing>");
  EXPECT_FALSE(VersionString(info, "Comments").empty());

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
  ASSERT_GE(len, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00040006u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00040006u);
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);
}

TEST(BuiltExecutable, VersionRecordHasTheFixedLayoutTheAboutBoxReads) {
  HMODULE module = LoadLibraryExA(BuiltPendraExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(module);
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
  ASSERT_TRUE(res);
  HGLOBAL loaded = LoadResource(module, res);
  const BYTE* rec = static_cast<const BYTE*>(LockResource(loaded));
  const size_t size = SizeofResource(module, res);
  ASSERT_TRUE(rec);
  ASSERT_GT(size, 200u);

  EXPECT_EQ(Utf16At(rec + 6, size - 6), "VS_VERSION_INFO");
  EXPECT_EQ(At<uint32_t>(rec, 40), 0xFEEF04BDu);
  EXPECT_EQ(At<int32_t>(rec, 48), 131072);
  EXPECT_EQ(At<int32_t>(rec, 52), 262150);
  EXPECT_EQ(At<int32_t>(rec, 56), 131072);
  EXPECT_EQ(At<int32_t>(rec, 60), 262150);
  EXPECT_EQ(Utf16At(rec + 98, size - 98), "StringFileInfo");

  // The first string table starts at 128 and its first entry at 152; walk
  // the entries as the about box does and expect the record's order.
  const size_t tableEnd = 128 + At<uint16_t>(rec, 128);
  ASSERT_LE(tableEnd, size);
  EXPECT_EQ(Utf16At(rec + 134, size - 134), "040904E4");
  std::vector<std::string> names;
  size_t pos = 152;
  while (pos < tableEnd && names.size() < 20) {
    const uint16_t length = At<uint16_t>(rec, pos);
    ASSERT_GT(length, 6u) << "entry at " << pos;
    names.push_back(Utf16At(rec + pos + 6, tableEnd - pos - 6));
    pos = (pos + length + 3) & ~static_cast<size_t>(3);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"CompanyName", "FileDescription", "FileVersion",
                                             "InternalName", "LegalCopyright", "LegalTrademarks",
                                             "OriginalFilename", "ProductName", "ProductVersion",
                                             "Comments"}));
  FreeLibrary(module);
}

TEST(BuiltExecutable, CarriesTheProgramIconAndItsGlyphStrips) {
  HMODULE module = LoadLibraryExA(BuiltPendraExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(module);
  HRSRC group = FindResourceA(module, "MAINICON", MAKEINTRESOURCEA(14));
  ASSERT_TRUE(group) << "no MAINICON";
  // The icon directory: reserved, type, count, then 14-byte entries (width,
  // height, colours, reserved, planes, bits per pixel, size, id).
  const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  ASSERT_TRUE(dir);
  ASSERT_GE(At<uint16_t>(dir, 4), 1);
  EXPECT_EQ(dir[6], 32);
  EXPECT_EQ(dir[7], 32);
  EXPECT_EQ(dir[8], 16);
  EXPECT_EQ(At<uint16_t>(dir, 12), 4);
  // The tray, the launcher and large icon views each find a picture of their
  // own size in full colour.
  std::vector<int> fullColour;
  for (uint16_t i = 0; i < At<uint16_t>(dir, 4); ++i) {
    const BYTE* entry = dir + 6 + 14 * i;
    if (entry[0] == entry[1] && At<uint16_t>(entry, 6) == 32) fullColour.push_back(entry[0]);
  }
  for (int size : {16, 32, 48})
    EXPECT_NE(std::find(fullColour.begin(), fullColour.end(), size), fullColour.end()) << size;
  FreeLibrary(module);

  // Each strip holds two glyphs of equal width: enabled, then disabled.
  std::string folder = BuiltPendraExe().substr(0, BuiltPendraExe().find_last_of('\\') + 1);
  for (const char* name : {"check.bmp", "undo.bmp"}) {
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(nullptr, (folder + name).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_TRUE(strip) << name;
    BITMAP b{};
    GetObjectA(strip, sizeof b, &b);
    EXPECT_EQ(b.bmWidth, 2 * b.bmHeight) << name;
    DeleteObject(strip);
  }
}

TEST(BuiltExecutable, ItsManifestAsksForCommonControls6AndPerMonitorDpi) {
  HMODULE module = LoadLibraryExA(BuiltPendraExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(module);
  // The system reads the manifest of an executable at type 24, id 1 only.
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_TRUE(found) << "no manifest";
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, found))),
                             SizeofResource(module, found));
  FreeLibrary(module);
  for (const char* part :
       {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", ">true/pm<",
        ">PerMonitorV2, PerMonitor<", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}"})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

}  // namespace
}  // namespace pendra::e2e
