#pragma once
// The about box: the program's version record, the system's registered owner
// and version, and three buttons that hand a target to the shell. Everything
// it shows is read when it is created; its window and controls are made when
// it is first shown.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "about/about_texts.h"
#include "about/version_record.h"
#include "platform/hints_win.h"
#include "platform/window_win.h"

namespace pendra {

// Reads the version record of an executable (by default the running one)
// when it is created. Text properties read "--not available--" and numbers
// -1 when the file has no record.
class TVersionInfo {
 public:
  TVersionInfo();
  explicit TVersionInfo(std::string executableFileName);

  const std::string& ExecutableFileName() const { return executableFileName_; }
  std::string CompanyName() const { return record_.Value("CompanyName"); }
  std::string FileDescription() const { return record_.Value("FileDescription"); }
  std::string FileVersion() const { return record_.Value("FileVersion"); }
  std::string InternalName() const { return record_.Value("InternalName"); }
  std::string LegalCopyright() const { return record_.Value("LegalCopyright"); }
  std::string LegalTrademarks() const { return record_.Value("LegalTrademarks"); }
  std::string OriginalFilename() const { return record_.Value("OriginalFilename"); }
  std::string ProductName() const { return record_.Value("ProductName"); }
  std::string ProductVersion() const { return record_.Value("ProductVersion"); }
  std::string Comments() const { return record_.Value("Comments"); }
  const std::vector<std::string>& Keys() const { return record_.Keys(); }
  std::int32_t FileVersionHigh() const { return record_.FileVersionHigh(); }
  std::int32_t FileVersionLow() const { return record_.FileVersionLow(); }
  std::int32_t ProductVersionHigh() const { return record_.ProductVersionHigh(); }
  std::int32_t ProductVersionLow() const { return record_.ProductVersionLow(); }

  const VersionRecord& Record() const { return record_; }

 private:
  void LoadRecord();
  std::string executableFileName_;
  VersionRecord record_;
};

// The maker's web page and the author's mail address.
inline constexpr const char* kMakerWebPage = "http://www.example.com/pendra";
inline constexpr const char* kAuthorMail = "mailto:author@example.com";
inline constexpr const char* kSystemInformationTool = "MSINFO32.EXE";

class TAboutBox : public Form {
 public:
  enum Id : int { kCompanyName = 101, kSendMail, kBtnSysInfo, kOKButton = IDOK };

  // Reads the version record and the system's values. A record that is not
  // understood ("Unrecognised version block") fails the creation.
  TAboutBox();
  ~TAboutBox() override;

  const TVersionInfo& VersionInfo1() const { return versionInfo_; }
  const AboutTexts& Texts() const { return texts_; }
  bool ControlsBuilt() const { return Handle() != nullptr; }

  // The controls, once built.
  HWND ProductName() const { return ProductName_; }
  HWND Version() const { return Version_; }
  HWND Comments() const { return Comments_; }
  HWND lblRegistered() const { return lblRegistered_; }
  HWND lblUser() const { return lblUser_; }
  HWND lblCompany() const { return lblCompany_; }
  HWND lblWinVersion() const { return lblWinVersion_; }
  HWND lblVerNumber() const { return lblVerNumber_; }
  HWND CompanyName() const { return CompanyName_; }
  HWND SendMail() const { return SendMail_; }
  HWND btnSysInfo() const { return btnSysInfo_; }
  HWND OKButton() const { return OKButton_; }
  HWND ProgramIcon() const { return ProgramIcon_; }
  std::string HintOf(HWND control) const;

  void CompanyNameClick();
  void SendMailClick();
  void btnSysInfoClick();
  void OKButtonClick() { Hide(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override;
  void DpiChanged(UINT oldDpi) override;

 private:
  void FormCreate();
  void CreateControls();
  void CreateFonts();
  void PlaceIcon();
  void PaintPanel();  // the icon at the DPI, in its place
  // Places and sizes are design values, scaled to the box's DPI.
  HWND AddControl(const char* cls, const std::string& text, DWORD style, int x, int y, int w,
                  int h, int id, HFONT font);
  void OpenWithShell(const std::string& target);

  TVersionInfo versionInfo_;
  AboutTexts texts_;

  HFONT uiFont_ = nullptr, nameFont_ = nullptr, versionFont_ = nullptr;
  HICON icon_ = nullptr;
  Hints hints_;
  HWND ProgramIcon_ = nullptr, ProductName_ = nullptr, Version_ = nullptr, Comments_ = nullptr;
  HWND lblRegistered_ = nullptr, lblUser_ = nullptr, lblCompany_ = nullptr;
  HWND lblWinVersion_ = nullptr, lblVerNumber_ = nullptr;
  HWND CompanyName_ = nullptr, SendMail_ = nullptr, btnSysInfo_ = nullptr, OKButton_ = nullptr;
};

}  // namespace pendra
