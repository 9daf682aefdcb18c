#pragma once
// The files of the text windows, apart from their controls: the control holds
// text, and these read a file into it, save it from it, and read it again when
// another program changed the file.
#include <string>

#include "notes/rich_text_win.h"
#include "settings/data_folder.h"

namespace pendra {

// The most a text control takes from a file. Loading and saving a text hold
// it several times over (the file's bytes, the control's own wide copy, the
// bytes saved), which for a larger one can exhaust a 32-bit process.
inline constexpr unsigned long long kMaxTextFileBytes = 32ull << 20;

// A text file's bytes for a control, by its path in UTF-8 (as the data
// files have theirs). Fails as ReadWholeFile does, and with
// "Cannot open file <path>. It is larger than 32 MB, ..." for a larger file,
// which is not read at all.
std::string ReadTextFile(const std::string& path);

// A file of the user's (the editor's, an export), named by its path in the
// code page, as the file dialogs give it: plain text, whatever the
// extension. A file that cannot be read leaves the text as it was.
TextLoad LoadTextFile(RichTextControl& text, const std::string& path);
// Replaces the file safely; fails with "Cannot create file <path>".
void SaveTextFile(const RichTextControl& text, const std::string& path,
                  TextFormat format = TextFormat::PlainText);

// A page or the quick note: the data file a window's text belongs to.
class DataDocument {
 public:
  explicit DataDocument(RichTextControl& text) : text_(text) {}

  // The file the text now belongs to, none when it has none (a page shown
  // without a file).
  DataFile* File() const { return file_; }
  // Reads the file into the text, as LoadTextFile reads, through the data
  // folder, so it knows what the text was; the text belongs to it from then
  // on. A file that cannot be read fails and leaves text and file as they were.
  TextLoad Load(DataFile& file);
  // The text belongs to no file: nothing typed is saved.
  void Forget() { file_ = nullptr; }
  // A file not there yet: the text, as it is, belongs to it from now on
  // (Attach), and is saved there at once (Create; a save that fails leaves
  // the text without a file).
  void Attach(DataFile& file) { file_ = &file; }
  DataOutcome Create(DataFile& file);
  // Saves the text to its file as plain text (see DataFile::Write). The file
  // changed by another program while the text holds no change of its own is
  // not written: the text is read from it again (ChangedElsewhere).
  DataOutcome Store();
  // Reads the file again when another program changed it and the text holds
  // no change; a file that cannot be read then leaves the text as it is.
  void Refresh();

 private:
  void ReloadQuietly();

  RichTextControl& text_;
  DataFile* file_ = nullptr;
};

}  // namespace pendra
