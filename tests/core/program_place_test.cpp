#include <gtest/gtest.h>

#include "app/program_place.h"

namespace pendra {
namespace {

TEST(ProgramPlace, TheRunValueStartsThisExecutableQuotedWhereItHasABlank) {
  const std::string spaced = "C:\\Users\\Ann Lee\\Pendra\\Pendra.exe";
  EXPECT_EQ(RunCommand("C:\\Pendra\\Pendra.exe"), "C:\\Pendra\\Pendra.exe");
  EXPECT_EQ(RunCommand(spaced), '"' + spaced + '"');
  EXPECT_TRUE(RunCommandNames(RunCommand(spaced), spaced));
  EXPECT_TRUE(RunCommandNames("c:\\users\\ann lee\\PENDRA\\pendra.exe", spaced));
  EXPECT_FALSE(RunCommandNames("\"C:\\Old\\Pendra.exe\"", spaced));
  // Windows takes the program from inside the quotes, or from all of an
  // unquoted value, blanks and all.
  EXPECT_TRUE(RunCommandNames('"' + spaced + "\" /min", spaced));
  EXPECT_TRUE(RunCommandNames('"' + spaced, spaced));
  EXPECT_EQ(RunCommandPath(std::wstring_view(L"C:\\Ann Lee\\Pendra.exe")), L"C:\\Ann Lee\\Pendra.exe");
  EXPECT_FALSE(RunCommandNames("", ""));
}

TEST(ProgramPlace, OnlyAFolderAnArchiveProgramMadeInTheTemporaryFolderIsOne) {
  const std::string temp = "C:\\Users\\Ann\\AppData\\Local\\Temp\\";
  struct Case {
    std::string folder;
    bool archive;
  } cases[] = {
      {temp + "Temp1_Pendra-2.0.4.6-portable.zip\\", true},
      {temp + "temp12_pendra.zip\\Pendra\\", true},  // the zip's own folder inside
      {temp + "7zO8C3D1B2A\\", true},
      {temp + "Rar$EXa1234.5678\\", true},
      {"c:\\users\\ann\\appdata\\local\\TEMP\\Temp1_Pendra.zip\\", true},
      {temp + "Temp_Pendra.zip\\", false},  // no number
      {temp + "Temp1\\", false},
      {temp + "Pendra\\", false},
      {temp, false},
      {"C:\\Users\\Ann\\Documents\\Temp1_Pendra.zip\\", false},  // unpacked by the user
      {"C:\\Users\\Ann\\AppData\\Local\\Programs\\Pendra\\", false},
  };
  for (const Case& c : cases) EXPECT_EQ(InArchiveTempFolder(c.folder, temp), c.archive) << c.folder;
  EXPECT_TRUE(InArchiveTempFolder(temp + "7zO1\\", "C:\\Users\\Ann\\AppData\\Local\\Temp"));
  EXPECT_FALSE(InArchiveTempFolder(temp + "7zO1\\", ""));
}

}  // namespace
}  // namespace pendra
