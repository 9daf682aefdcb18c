#include "notes/text_document_win.h"

#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/list_file.h"

namespace pendra {

namespace {

// A file over the most a control takes is not read at all.
void CheckTextFileSize(const std::string& path) {
  const std::optional<FileFacts> facts = FactsOf(path);
  if (facts && facts->size > kMaxTextFileBytes)
    throw Error("Cannot open file " + path + ". It is larger than " +
                std::to_string(kMaxTextFileBytes >> 20) + " MB, more than Pendra can show.");
}

}  // namespace

std::string ReadTextFile(const std::string& path) {
  CheckTextFileSize(path);
  return ReadWholeFile(path);
}

TextLoad LoadTextFile(RichTextControl& text, const std::string& path) {
  return text.LoadText(ReadTextFile(Utf8FromCodePage(path)));
}

void SaveTextFile(const RichTextControl& text, const std::string& path, TextFormat format) {
  if (!text.Handle() && format == TextFormat::RichText)
    throw Error("Cannot create file " + Utf8FromCodePage(path));  // no control to write it
  WriteWholeFile(Utf8FromCodePage(path), text.SavedBytes(format));
}

TextLoad DataDocument::Load(DataFile& file) {
  CheckTextFileSize(file.Path());
  const TextLoad load = text_.LoadText(file.Read());
  file_ = &file;
  return load;
}

DataOutcome DataDocument::Create(DataFile& file) {
  file_ = &file;
  try {
    return Store();
  } catch (...) {
    file_ = nullptr;
    throw;
  }
}

DataOutcome DataDocument::Store() {
  if (!file_) return {};
  const SavedText saved = text_.PlainTextToSave();
  DataOutcome outcome = file_->Write(saved.bytes);
  if (outcome.result == SaveResult::ChangedElsewhere) {
    ReloadQuietly();
    return outcome;
  }
  text_.MarkStored(saved.encoding);
  return outcome;
}

void DataDocument::Refresh() {
  if (file_ && !text_.Modified() && file_->ChangedOnDisk()) ReloadQuietly();
}

void DataDocument::ReloadQuietly() {
  try {
    Load(*file_);
  } catch (const Error&) {
    // Locked or spoiled for now: what is shown stays, and no save writes
    // over a file it could not read.
  }
}

}  // namespace pendra
