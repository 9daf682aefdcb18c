#include "notes/text_behaviours_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include "notes/text_document_win.h"
#include "notes/text_print_win.h"
#include "platform/colors_win.h"
#include "platform/window_win.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

UINT FindMessage() {
  static const UINT id = RegisterWindowMessageA(FINDMSGSTRINGA);
  return id;
}

}  // namespace

void CommandEnabler::Enable(int command, bool enabled) const {
  for (HWND toolbar : toolbars_)
    SendMessageA(toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELONG(enabled, 0));
  for (HMENU menu : menus_)
    EnableMenuItem(menu, static_cast<UINT>(command),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

TextBehaviours::TextBehaviours(RichTextControl& control, TextWindowSettings settings)
    : control_(control), settings_(std::move(settings)) {
  control_.onChange = [this] {
    Refresh(TextEvent::Change);
    if (afterChange) afterChange();
  };
  control_.onMouseMove = [this](int, int) { Refresh(TextEvent::MouseMove); };
  if (auto* rich = dynamic_cast<TRxRichEdit*>(&control_))
    rich->onUrlClick = [this](const std::string& url, MouseButton) { OpenLink(url); };
}

HWND TextBehaviours::Owner() const {
  return control_.Handle() ? GetAncestor(control_.Handle(), GA_ROOT) : nullptr;
}

bool TextBehaviours::Run(TextCommand command) {
  return Guarded([&] {
    switch (command) {
      case TextCommand::Cut: control_.CutToClipboard(); break;
      case TextCommand::Copy: control_.CopyToClipboard(); break;
      case TextCommand::Paste: control_.PasteFromClipboard(); break;
      case TextCommand::ClearAll: ClearAll(); break;
      case TextCommand::SelectAll: SelectAll(); break;
      case TextCommand::DeleteSelectedText: DeleteSelectedText(); break;
      case TextCommand::Fonts: FontChoice(); break;
      case TextCommand::Find: FindCommand(); break;
      case TextCommand::Print: FormattedPrintout(); break;
      case TextCommand::PrintSelectedText: PrintSelectedText(); break;
      case TextCommand::PrintLines: PrintLines(); break;
      case TextCommand::SaveAsTextFile: ExportTextFile(); break;
    }
  });
}

void TextBehaviours::FontRestore() {
  control_.SetFont(RestoreFont(*Svc().registry, settings_.settingsKey, inRun_, control_.Font()));
  ApplyColors();
}

void TextBehaviours::ApplyColors() {
  const std::optional<int> stored = inRun_.colorStored ? std::optional<int>(inRun_.color) : std::nullopt;
  control_.SetColors(TextControlColors(stored, settings_.background, CurrentSystemColors()));
}

void TextBehaviours::FontChoice() {
  FontSpec font = control_.Font();
  const bool chosen = Svc().dialogs->PickFont(Owner(), font);
  if (chosen) control_.SetFont(font);
  if (chosen || settings_.fontCancel == FontCancel::StoreCurrentFont)
    StoreFont(*Svc().registry, settings_.settingsKey, inRun_, control_.Font(),
              chosen ? FontOrigin::Chosen : FontOrigin::Current);
  ApplyColors();
}

void TextBehaviours::FindCommand() { Svc().dialogs->ShowFind(Owner(), control_.SelText()); }

void TextBehaviours::FindNext(const std::string& text) {
  const SearchRange range =
      FindNextRange(control_.SelStart(), control_.SelLength(), control_.TextLength());
  const int found = control_.FindText(text, range.start, range.length);
  if (found < 0) {
    Svc().dialogs->ShowMessage("Text not found", "Information", MsgIcon::Information);
    return;
  }
  control_.SetFocus();
  control_.Select(found, static_cast<int>(text.size()));
}

void TextBehaviours::FormattedPrintout() { PrintFormatted(control_, ""); }

void TextBehaviours::PrintSelectedText() {
  PrintPlainText(control_.SelText() + "\r\n", control_.DisplayFont());
}

void TextBehaviours::PrintLines() {
  std::string text;
  for (const std::string& line : control_.DisplayLines()) text += line + "\r\n";
  PrintPlainText(text, control_.DisplayFont());
}

void TextBehaviours::ExportTextFile() {
  FileDialogRequest request;
  request.filter = kExportFilter;
  request.defaultExt = kExportDefaultExt;
  request.owner = Owner();
  std::string path;
  if (!Svc().dialogs->SaveFile(request, path)) return;
  SaveTextFile(control_, path, IsRichTextFileName(path) ? TextFormat::RichText : TextFormat::PlainText);
}

void TextBehaviours::OpenLink(const std::string& url) {
  if (const std::optional<std::string> address = LinkToOpen(url)) {
    Svc().shell->Open(Owner(), *address);
    return;
  }
  // Other links do nothing; the first one of the run says why.
  if (refusedLinkTold_) return;
  refusedLinkTold_ = true;
  Svc().dialogs->ShowMessage(kOnlyWebLinks, kAppTitle, MsgIcon::Information);
}

// A read-only text stays whole: these commands reach it past the control's
// own keys.
void TextBehaviours::ClearAll() {
  if (!control_.ReadOnly()) control_.SetText("");
}

void TextBehaviours::SelectAll() { control_.Select(0, control_.CharCount()); }

void TextBehaviours::DeleteSelectedText() {
  if (!control_.ReadOnly()) control_.SetSelText("");
}

void TextBehaviours::Refresh(TextEvent event) {
  TextFacts facts;
  if (EventUsesRule(settings_.refresh, event, CommandRule::Clipboard))
    facts.clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  facts.selectionLength = control_.SelLength();
  facts.textLength = control_.TextLength();
  for (const auto& [command, enabled] : CommandStates(settings_.refresh, event, facts))
    commands_.Enable(command, enabled);
}

bool TextBehaviours::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == FindMessage()) {
    const auto* find = reinterpret_cast<const FINDREPLACEA*>(lp);
    if (find && (find->Flags & FR_FINDNEXT) && find->lpstrFindWhat)
      Guarded([&] { FindNext(find->lpstrFindWhat); });
    result = 0;
    return true;
  }
  // The window goes on with the message.
  if (ColorsMayHaveChanged(msg)) ApplyColors();
  return control_.HandleParentMessage(msg, wp, lp, result);
}

}  // namespace pendra
