#include "notes/editor_document_win.h"

#include <windows.h>

#include "notes/text_document_win.h"
#include "settings/code_page.h"
#include "settings/text_encoding.h"

namespace pendra {

namespace {

bool SamePath(const std::string& a, const std::string& b) {
  return !a.empty() && lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

}  // namespace

void EditorDocument::Clear() {
  text_.SetText("");
  text_.SetReadOnly(false);
  fileName_.clear();
  changedFile_.clear();
  readOnlyFile_.clear();
}

std::optional<std::string> EditorDocument::Opened(const std::string& path, const TextLoad& load) {
  // The editor's paths are in the code page; the boxes take UTF-8.
  const std::string shown = Utf8FromCodePage(path);
  // The editor's control holds text in the code page only: a UTF-8 file
  // shows its characters beyond ASCII as others, a UTF-16 one those the code
  // page lacks, and what is typed into it would be stored in the code page
  // among them.
  const bool unicode = load.stored != TextEncoding::CodePage;
  fileName_ = path;
  changedFile_ = load.faithful && !unicode ? std::string() : path;
  readOnlyFile_ = load.readOnlyBecause.empty() ? std::string() : path;
  if (!readOnlyFile_.empty())
    return shown + " is shown read-only: " + std::string(load.readOnlyBecause) +
           ". The editor leaves the file as it is; Save As keeps the text under another name, where it can be "
           "edited.";
  if (unicode)
    return shown + " is stored as " +
           (IsUtf16(load.stored)
                ? "UTF-16 (Unicode). The editor shows and saves text in the system's code page only, so "
                  "characters the code page lacks show as others, and saving over the file would store it "
                  "in the code page."
                : "UTF-8 (Unicode). The editor shows and saves text in the system's code page only, so its "
                  "characters beyond plain ASCII show as others, and saving over the file could change them.");
  if (!load.faithful)
    return "The editor could not keep every character of " + shown +
           " as it is stored (a zero byte, or a line end other than CR LF). Saving over the file would change "
           "them.";
  return std::nullopt;
}

bool EditorDocument::NeedsNewName() const { return fileName_.empty() || SamePath(fileName_, readOnlyFile_); }

EditorDocument::WriteCheck EditorDocument::MayWrite(const std::string& path, std::string& words) const {
  if (SamePath(path, readOnlyFile_)) {
    words = Utf8FromCodePage(path) + " is kept as it is stored. Save the text under another name.";
    return WriteCheck::Refused;
  }
  if (!SamePath(path, changedFile_)) return WriteCheck::Free;
  words = "The editor could not keep every character of " + Utf8FromCodePage(path) +
          " as it was stored. Save it with the changed characters?";
  return WriteCheck::Ask;
}

void EditorDocument::SaveTo(const std::string& path) {
  // The new name is taken only once the text is in it: after a failed save
  // the next Save still goes where the caption and the recent files say.
  SaveTextFile(text_, path);
  fileName_ = path;
  if (SamePath(path, changedFile_)) changedFile_.clear();
  // The text saved elsewhere is that file's now, and can be edited.
  if (!readOnlyFile_.empty() && !SamePath(path, readOnlyFile_)) {
    readOnlyFile_.clear();
    text_.SetReadOnly(false);
  }
}

}  // namespace pendra
