#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "about/about_texts.h"
#include "about/version_record.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"
#include "tests/common/version_block.h"

namespace pendra {
namespace {

namespace tv = testing_version;

VersionRecord Loaded(const tv::Bytes& bytes) {
  VersionRecord r;
  r.Load(bytes.data(), bytes.size());
  return r;
}

TEST(VersionRecord, TheProgramsRecordReadsByNameAndOffset) {
  const VersionRecord r = Loaded(tv::PendraRecord());
  ASSERT_TRUE(r.HasRecord());
  EXPECT_EQ(r.Keys(), (std::vector<std::string>{
                          "CompanyName=Tavrin Software", "FileDescription=Executable File",
                          "FileVersion=2.0.4.6", "InternalName=Pendra", "LegalCopyright=",
                          "LegalTrademarks=", "OriginalFilename=Pendra.exe", "ProductName=Pendra",
                          "ProductVersion=2.0.4",
                          "Comments=written by Mira Tavrin of Tavrin Software"}));
  EXPECT_EQ(r.Value("FileVersion"), "2.0.4.6");
  EXPECT_EQ(r.Value("LegalCopyright"), "");
  EXPECT_EQ(r.Value("productname"), "");  // names match with their case
  EXPECT_EQ(r.Value("Translation"), "");  // the variable block is not read
  EXPECT_EQ(r.FileVersionHigh(), 131072);
  EXPECT_EQ(r.FileVersionLow(), 262150);
  EXPECT_EQ(r.ProductVersionHigh(), 131072);
  EXPECT_EQ(r.ProductVersionLow(), 262150);

  const AboutTexts t = ComposeAboutTexts(r, {"Ann", "Org", "Windows XP", "2600"});
  EXPECT_EQ(t.caption, "About  Pendra");
  EXPECT_EQ(t.version, "File Version   2.0.4.6");
  EXPECT_EQ(t.comments, "Pendra was written by Mira Tavrin of Tavrin Software");
  EXPECT_EQ(t.companyName, "Tavrin Software");
  EXPECT_EQ(t.winVersion, "Windows Version:  Windows XP");
  EXPECT_EQ(t.verNumber, "Version Number:  2600");
}

TEST(VersionRecord, TextIsConvertedToTheEightBitCodePage) {
  const VersionRecord r = Loaded(tv::Record({tv::StringFileInfo({tv::String("a=b", "x")})}));
  EXPECT_EQ(r.Value("a"), "b=x");  // the name ends at the first "="

  tv::Bytes text;
  for (unsigned c : {0x54u, 0xE9u, 0x20ACu, 0x4E2Du, 0xD83Du, 0xDE00u, 0u, 0x41u}) tv::Put16(text, c);
  EXPECT_EQ(Utf16ToAnsi(text.data(), text.size()), "T\xE9\x80??");
  EXPECT_EQ(Utf16ToAnsi(text.data(), 3), "T");  // an odd byte at the end is dropped
}

TEST(VersionRecord, WithoutARecordTextsAreNotAvailableAndNumbersMinusOne) {
  tv::Bytes foreignKey = tv::Encode(tv::Block{"VS_VERSION_INFX", tv::FixedInfo(), 52, 0, {}});
  for (const tv::Bytes& bytes : {tv::Bytes{}, tv::Bytes(5, 0), foreignKey}) {
    VersionRecord r = Loaded(tv::PendraRecord());
    r.Load(bytes.data(), bytes.size());  // drops the record held before
    EXPECT_FALSE(r.HasRecord());
    EXPECT_EQ(r.Value("ProductName"), "--not available--");
    EXPECT_EQ(r.FileVersionHigh(), -1);
    EXPECT_EQ(r.ProductVersionLow(), -1);
    const AboutTexts t = ComposeAboutTexts(r, {});
    EXPECT_EQ(t.version, "File Version   --not available--");
    EXPECT_EQ(t.comments, "--not available-- was --not available--");
    EXPECT_EQ(t.winVersion, "Windows Version:  ");
  }
}

TEST(VersionRecord, ARecordWithoutStringFileInfoFirstIsUnrecognised) {
  const tv::Bytes bytes = tv::Record({tv::VarFileInfo(), tv::StringFileInfo(tv::PendraStrings())});
  VersionRecord r;
  try {
    r.Load(bytes.data(), bytes.size());
    ADD_FAILURE() << "accepted";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Unrecognised version block");
  }
}

// Cut or damaged records: every read stays inside the bytes (the sanitizers
// watch) and the walk always ends.
TEST(VersionRecord, DamagedRecordsAreReadWithinTheirBytes) {
  const tv::Bytes whole = tv::PendraRecord();
  for (std::size_t n = 0; n <= whole.size(); ++n) {
    const tv::Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    VersionRecord r;
    try {
      r.Load(cut.data(), cut.size());
    } catch (const Error&) {
      EXPECT_LT(n, 128u);
    }
    if (n >= 64 && r.HasRecord()) EXPECT_EQ(r.FileVersionLow(), 262150);
  }
  EXPECT_EQ(Loaded(whole).Number(SIZE_MAX - 1), -1);  // no wrap past the end check

  tv::Bytes zeroLength = whole;
  zeroLength[152] = zeroLength[153] = 0;  // a string of length 0 would never move on
  EXPECT_TRUE(Loaded(zeroLength).Keys().empty());

  tv::Bytes longTable = whole;
  longTable[128] = longTable[129] = 0xFF;  // a table running past the record
  EXPECT_EQ(Loaded(longTable).Value("Comments"), "written by Mira Tavrin of Tavrin Software");

  // A string whose value has no zero before its end is cut at the end.
  tv::Bytes unended = tv::Record({tv::StringFileInfo({tv::String("Name", "value")})});
  unended.erase(unended.end() - 2, unended.end());
  unended[152] = static_cast<std::uint8_t>(unended.size() - 152);
  EXPECT_EQ(Loaded(unended).Value("Name"), "value");
}

struct RegistryCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> values;  // "key|name", text
  SystemInfo expected;
};

TEST(SystemInfo, EachValueComesFromTheWindowsKeyBeforeTheNtKey) {
  const std::string w = std::string(kWindowsKey) + "|";
  const std::string nt = std::string(kWindowsNtKey) + "|";
  const RegistryCase cases[] = {
      {"windows key wins",
       {{w + "RegisteredOwner", "W"}, {nt + "RegisteredOwner", "N"},
        {w + "RegisteredOrganization", "WO"}, {nt + "RegisteredOrganization", "NO"},
        {w + "Version", "Windows 98"}, {w + "ProductName", "W98"}, {nt + "ProductName", "NT"},
        {w + "VersionNumber", "4.10"}, {nt + "CurrentBuildNumber", "2600"}},
       {"W", "WO", "W98", "4.10"}},
      {"empty windows values fall to the nt key",
       {{w + "RegisteredOwner", ""}, {nt + "RegisteredOwner", "N"},
        {nt + "RegisteredOrganization", "NO"}, {w + "ProductName", "W"},
        {nt + "ProductName", "NT"}, {nt + "CurrentBuildNumber", "2600"}},
       {"N", "NO", "NT", "2600"}},
      {"no nt key: the windows key is read again",
       {{w + "ProductName", "W"}, {w + "CurrentBuildNumber", "950"}}, {"", "", "W", "950"}},
      {"no keys at all", {}, {"", "", "", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry machine;
    for (const auto& [where, text] : c.values) {
      const auto bar = where.find('|');
      machine.WriteText(where.substr(0, bar), where.substr(bar + 1), text);
    }
    const SystemInfo got = ReadSystemInfo(machine);
    EXPECT_EQ(got.owner, c.expected.owner);
    EXPECT_EQ(got.organization, c.expected.organization);
    EXPECT_EQ(got.productName, c.expected.productName);
    EXPECT_EQ(got.versionNumber, c.expected.versionNumber);
  }
}

TEST(SystemInfo, AValueThatIsNotTextReadsEmpty) {
  MemoryRegistry machine;
  machine.WriteBinary(kWindowsKey, "RegisteredOwner");
  machine.WriteText(kWindowsNtKey, "RegisteredOwner", "N");
  machine.WriteBinary(kWindowsNtKey, "RegisteredOrganization");
  machine.WriteBinary(kWindowsNtKey, "ProductName");
  const SystemInfo got = ReadSystemInfo(machine);
  EXPECT_EQ(got.owner, "N");
  EXPECT_EQ(got.organization, "");
  EXPECT_EQ(got.productName, "");
}

}  // namespace
}  // namespace pendra
