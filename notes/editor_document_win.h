#pragma once
// The editor's file, apart from its window: which file the text belongs to,
// what the control could not keep of it, and the words the window says when
// it opens or saves over such a file.
#include <optional>
#include <string>

#include "notes/rich_text_win.h"

namespace pendra {

class EditorDocument {
 public:
  explicit EditorDocument(RichTextControl& text) : text_(text) {}

  const std::string& FileName() const { return fileName_; }
  // The text is a new one, of no file.
  void Clear();
  // The file was read into the text (LoadTextFile): the text belongs to it
  // from then on. Gives the warning to show when the text is not the file's
  // as it is stored.
  std::optional<std::string> Opened(const std::string& path, const TextLoad& load);

  // Save goes to Save As: there is no file, or it is kept as it is stored.
  bool NeedsNewName() const;
  // Whether the text may be written over `path`: never over a file kept as
  // it is stored (Refused, with the reason); over a file whose bytes the
  // control changed, only when the user agrees (Ask, with the question).
  enum class WriteCheck { Free, Refused, Ask };
  WriteCheck MayWrite(const std::string& path, std::string& words) const;
  // Writes the text to `path` as plain text; the text belongs to that file
  // from then on, and can be edited. A failed write changes nothing.
  void SaveTo(const std::string& path);

 private:
  RichTextControl& text_;
  std::string fileName_;
  // The file whose bytes the control did not keep when it was opened; saving
  // over it asks first.
  std::string changedFile_;
  // The file shown read-only because no save could give back its bytes; the
  // editor never writes it, and Save goes to Save As.
  std::string readOnlyFile_;
};

}  // namespace pendra
