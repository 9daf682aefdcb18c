// The editor's recent files: read from and written to its settings key, and
// shown in the File menu.
#include <windows.h>

#include <string>

#include "notes/editor_window_win.h"
#include "platform/services.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

std::string MruName(int slot) { return "MRU" + std::to_string(slot + 1); }

// Where the File menu's recent files begin: after "&Close" and the separator.
constexpr UINT kMruSeparatorPosition = 9;

}  // namespace

void TfrmEditor::ReadRecentFiles() {
  IRegistry& registry = *Svc().registry;
  recent_ = {};
  recentState_ = RecentState::NotRead;
  if (!registry.KeyExists(kEditorKey))
    for (int slot = 0; slot < kRecentSlots; ++slot) registry.WriteText(kEditorKey, MruName(slot), "");
  std::string unreadable;
  for (int slot = 0; slot < kRecentSlots; ++slot) {
    std::string path;
    const ValueKind kind = registry.Read(kEditorKey, MruName(slot), path);
    if (kind == ValueKind::Text) recent_[static_cast<std::size_t>(slot)] = path;
    if (kind == ValueKind::Other && unreadable.empty()) unreadable = MruName(slot);
  }
  // A value that could not be read is kept in the registry: the list is used
  // in this run but not written back over it.
  recentState_ = unreadable.empty() ? RecentState::Read : RecentState::Unreadable;
  if (!unreadable.empty()) throw Error("Invalid data type for '" + unreadable + "'");
}

void TfrmEditor::WriteRecentFiles() {
  if (recentState_ != RecentState::Read) return;
  for (int slot = 0; slot < kRecentSlots; ++slot)
    Svc().registry->WriteText(kEditorKey, MruName(slot), recent_[static_cast<std::size_t>(slot)]);
}

void TfrmEditor::ChangeRecentFiles(const RecentFiles& list) {
  recent_ = list;
  WriteRecentFiles();
}

void TfrmEditor::mnuFileClick() {
  for (int slot = 0; slot < kRecentSlots; ++slot) {
    const std::string& path = recent_[static_cast<std::size_t>(slot)];
    if (path.empty()) continue;
    if (!mruSeparatorShown_) {
      InsertMenuA(mnuFile_, kMruSeparatorPosition, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
      mruSeparatorShown_ = true;
    }
    const std::string caption = MenuCaptionOf(path);
    const UINT id = static_cast<UINT>(MRU1 + slot);
    if (recentShown_[slot]) {
      ModifyMenuA(mnuFile_, id, MF_BYCOMMAND | MF_STRING, id, caption.c_str());
      continue;
    }
    // Items stay in slot order whatever order they appear in.
    UINT position = kMruSeparatorPosition + 1;
    for (int before = 0; before < slot; ++before) position += recentShown_[before] ? 1 : 0;
    InsertMenuA(mnuFile_, position, MF_BYPOSITION | MF_STRING, id, caption.c_str());
    recentShown_[slot] = true;
  }
}

}  // namespace pendra
