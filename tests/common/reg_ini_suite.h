#pragma once
// The settings rules, run against every IRegistry implementation. An includer
// defines a factory with
//   static std::unique_ptr<IRegistry> Make();
//   static std::string Root();  // scratch key, deleted before and after
//   static void WriteNonText(IRegistry&, const std::string& keyPath, const std::string& name);
// and instantiates: INSTANTIATE_TYPED_TEST_SUITE_P(Name, RegIniSuite, testing::Types<Factory>);
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "settings/errors.h"
#include "settings/reg_ini.h"

namespace pendra::test {

template <class Factory>
class RegIniSuite : public testing::Test {
 protected:
  void SetUp() override {
    registry_ = Factory::Make();
    root_ = Factory::Root();
    registry_->DeleteTree(root_);
  }
  void TearDown() override { registry_->DeleteTree(root_); }

  TRegIniFile Ini() { return TRegIniFile(*registry_, root_); }
  std::string Stored(const std::string& section, const std::string& ident) {
    std::string text = "<none>";
    registry_->Read(root_ + "\\" + section, ident, text);
    return text;
  }
  void WriteNonText(const std::string& section, const std::string& ident) {
    Factory::WriteNonText(*registry_, root_ + "\\" + section, ident);
  }

  std::unique_ptr<IRegistry> registry_;
  std::string root_;
};

TYPED_TEST_SUITE_P(RegIniSuite);

TYPED_TEST_P(RegIniSuite, ValuesAreStoredAsTextAndReadBack) {
  TRegIniFile ini = this->Ini();
  ini.WriteInteger("Position", "Top", 252);
  ini.WriteInteger("Position", "Left", -17);
  ini.WriteBool("TrayIcon", "TrayShow", true);
  ini.WriteBool("TrayIcon", "NotShowOnDesktop", false);
  ini.WriteString("Alarm Sound", "WaveFileName1", "C:\\Sounds\\caf\xE9.wav");
  ini.WriteString("Last Boot", " Date", "");

  EXPECT_EQ(this->Stored("Position", "Top"), "252");
  EXPECT_EQ(this->Stored("Position", "Left"), "-17");
  EXPECT_EQ(this->Stored("TrayIcon", "TrayShow"), "1");
  EXPECT_EQ(this->Stored("TrayIcon", "NotShowOnDesktop"), "0");

  EXPECT_EQ(ini.ReadInteger("Position", "Top", 0), 252);
  EXPECT_EQ(ini.ReadInteger("Position", "Left", 0), -17);
  EXPECT_TRUE(ini.ReadBool("TrayIcon", "TrayShow", false));
  EXPECT_FALSE(ini.ReadBool("TrayIcon", "NotShowOnDesktop", true));
  EXPECT_EQ(ini.ReadString("Alarm Sound", "WaveFileName1", ""), "C:\\Sounds\\caf\xE9.wav");
  // An empty text is a stored value, not a missing one.
  EXPECT_EQ(ini.ReadString("Last Boot", " Date", "default"), "");

  ini.WriteInteger("Position", "Top", 10);  // overwriting keeps one value
  EXPECT_EQ(ini.ReadInteger("Position", "Top", 0), 10);
}

TYPED_TEST_P(RegIniSuite, MissingValuesGiveDefaultsAndCreateNothing) {
  TRegIniFile ini = this->Ini();
  EXPECT_EQ(ini.ReadString("Time", "Interval", "x"), "x");
  EXPECT_EQ(ini.ReadInteger("Time", "Interval", 343), 343);
  EXPECT_TRUE(ini.ReadBool("Play Sound1", "Play", true));
  EXPECT_FALSE(ini.ReadBool("Play Sound1", "Play", false));
  EXPECT_FALSE(this->registry_->KeyExists(this->root_ + "\\Time"));

  // The section is a subkey, made by the first write.
  ini.WriteInteger("Time", "Interval", 15);
  EXPECT_TRUE(this->registry_->KeyExists(this->root_ + "\\Time"));
  EXPECT_EQ(ini.ReadInteger("Time", "HourInterval", 7), 7);
}

TYPED_TEST_P(RegIniSuite, NamesMatchWithoutCaseButBlanksCount) {
  TRegIniFile ini = this->Ini();
  ini.WriteBool("TrayIcon", "NotShowOnDesktop", true);
  EXPECT_TRUE(ini.ReadBool("TrayIcon", "NotShowOnDeskTop", false));
  EXPECT_TRUE(ini.ReadBool("trayicon", "NOTSHOWONDESKTOP", false));
  ini.WriteBool("TRAYICON", "NotShowOnDeskTop", false);
  EXPECT_FALSE(ini.ReadBool("TrayIcon", "NotShowOnDesktop", true));
  EXPECT_EQ(this->Stored("TrayIcon", "notshowondesktop"), "0");

  ini.WriteString("Last Boot", " Date", "6/19/2000");
  EXPECT_EQ(ini.ReadString("Last Boot", "Date", "none"), "none");
  EXPECT_EQ(ini.ReadString("Last Boot", " date", "none"), "6/19/2000");

  std::string upperRoot = this->root_;
  for (char& c : upperRoot)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  TRegIniFile otherCase(*this->registry_, upperRoot);
  EXPECT_EQ(otherCase.ReadString("LAST BOOT", " Date", "none"), "6/19/2000");
}

TYPED_TEST_P(RegIniSuite, TextThatIsNoWholeNumberReadsAsDefault) {
  TRegIniFile ini = this->Ini();
  const char* notNumbers[] = {"", "abc", "12abc", "1.5", "1e3", "0x10", "$10", "12 ", "--1",
                              "+", "2147483648", "-2147483649", "99999999999999999999"};
  for (const char* text : notNumbers) {
    ini.WriteString("Time", "Interval", text);
    EXPECT_EQ(ini.ReadInteger("Time", "Interval", 77), 77) << '"' << text << '"';
    EXPECT_TRUE(ini.ReadBool("Time", "Interval", true)) << '"' << text << '"';
    EXPECT_FALSE(ini.ReadBool("Time", "Interval", false)) << '"' << text << '"';
  }
  const std::pair<const char*, int> numbers[] = {{"0", 0},       {"+5", 5},    {"-5", -5},
                                                 {"007", 7},     {" 12", 12},  {"-0", 0},
                                                 {"2147483647", 2147483647},
                                                 {"-2147483648", -2147483647 - 1}};
  for (const auto& [text, value] : numbers) {
    ini.WriteString("Time", "Interval", text);
    EXPECT_EQ(ini.ReadInteger("Time", "Interval", 77), value) << '"' << text << '"';
  }
  // A boolean is true for any number but 0.
  ini.WriteString("Play Sound2", "Play", "2");
  EXPECT_TRUE(ini.ReadBool("Play Sound2", "Play", false));
  ini.WriteString("Play Sound2", "Play", "-1");
  EXPECT_TRUE(ini.ReadBool("Play Sound2", "Play", false));
  ini.WriteString("Play Sound2", "Play", "0");
  EXPECT_FALSE(ini.ReadBool("Play Sound2", "Play", true));
}

TYPED_TEST_P(RegIniSuite, ValueOfAnotherTypeFailsTheRead) {
  TRegIniFile ini = this->Ini();
  this->WriteNonText("Version", "RegisteredOwner");
  auto expectFailure = [](auto read) {
    try {
      read();
      ADD_FAILURE() << "read did not fail";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Invalid data type for 'RegisteredOwner'");
    }
  };
  expectFailure([&] { ini.ReadString("Version", "RegisteredOwner", ""); });
  expectFailure([&] { ini.ReadInteger("Version", "RegisteredOwner", 0); });
  expectFailure([&] { ini.ReadBool("Version", "RegisteredOwner", false); });
  // The message names the ident as asked for.
  try {
    ini.ReadString("Version", "registeredowner", "");
    ADD_FAILURE() << "read did not fail";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'registeredowner'");
  }
  // Writing text over it makes it readable again.
  ini.WriteString("Version", "RegisteredOwner", "Ann");
  EXPECT_EQ(ini.ReadString("Version", "RegisteredOwner", ""), "Ann");
}

TYPED_TEST_P(RegIniSuite, DeletingValuesAndTrees) {
  IRegistry& reg = *this->registry_;
  const std::string run = this->root_ + "\\Run";
  EXPECT_FALSE(reg.DeleteValue(run, "Pendra"));  // no key
  reg.WriteText(run, "Pendra", "C:\\Pendra\\Pendra.exe");
  reg.WriteText(run, "Other", "x");
  EXPECT_TRUE(reg.DeleteValue(run, "PENDRA"));
  EXPECT_FALSE(reg.DeleteValue(run, "Pendra"));  // already gone
  std::string text;
  EXPECT_EQ(reg.Read(run, "Pendra", text), ValueKind::Missing);
  EXPECT_EQ(reg.Read(run, "Other", text), ValueKind::Text);
  EXPECT_EQ(text, "x");

  reg.WriteText(this->root_ + "\\A\\B\\C", "v", "1");
  EXPECT_TRUE(reg.KeyExists(this->root_ + "\\A\\B"));
  reg.DeleteTree(this->root_ + "\\A");
  EXPECT_FALSE(reg.KeyExists(this->root_ + "\\A\\B\\C"));
  EXPECT_FALSE(reg.KeyExists(this->root_ + "\\A"));
  EXPECT_TRUE(reg.KeyExists(run));  // a sibling stays
  reg.DeleteTree(this->root_ + "\\Missing");  // nothing to delete: no failure
}

REGISTER_TYPED_TEST_SUITE_P(RegIniSuite, ValuesAreStoredAsTextAndReadBack,
                            MissingValuesGiveDefaultsAndCreateNothing,
                            NamesMatchWithoutCaseButBlanksCount,
                            TextThatIsNoWholeNumberReadsAsDefault,
                            ValueOfAnotherTypeFailsTheRead, DeletingValuesAndTrees);

}  // namespace pendra::test
