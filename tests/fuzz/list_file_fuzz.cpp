// The list files as the program reads them: the reminder lists, ToDo.lst and
// Tabs.lst, whose captions name the notebook's page files. The input is the
// file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

#include "notes/tab_captions.h"
#include "reminders/reminder_book.h"
#include "settings/list_file.h"
#include "settings/list_text.h"
#include "settings/text_encoding.h"
#include "tests/fuzz/fuzz_support.h"
#include "todo/todo_list.h"

namespace pendra {
namespace {

std::string g_folder;  // a folder of this run's own, with its trailing separator

// The text as the list gives it back: every line end (CR, LF or CR LF) as
// CR LF, and a last line without one given one.
std::string WithCrLf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  if (!text.empty() && text.back() != '\r' && text.back() != '\n') out += "\r\n";
  return out;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows opens a device, not a file, for these names, whatever follows the
// first dot and however many blanks end the name before it.
bool OpensADevice(std::string_view fileName, const CodePage& codePage) {
  std::string base(fileName.substr(0, fileName.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = Upper(c);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
      base == "CONOUT$")
    return true;
  if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0))
    return false;
  const auto digit = static_cast<unsigned char>(base[3]);
  return (digit >= '0' && digit <= '9') ||
         (codePage.HasSuperscriptDigits() && (digit == 0xB9 || digit == 0xB2 || digit == 0xB3));
}

// A caption accepted as a page's name gives a file in the program folder
// itself: one name, no separator, not "..", not a device, with room for the
// temporary file a save writes. Under a double-byte code page a character's
// second byte is no separator.
void CheckCaption(const std::string& caption, const CodePage& codePage) {
  const CaptionFault fault = CheckTabCaption(g_folder, caption, codePage);
  const auto path = PagePath(g_folder, caption, codePage);
  FUZZ_REQUIRE(path.has_value() == (fault == CaptionFault::None));
  if (!path) {
    FUZZ_REQUIRE(!CaptionFaultReason(fault, g_folder, codePage).empty());
    return;
  }
  FUZZ_REQUIRE(path->compare(0, g_folder.size(), g_folder) == 0);
  const std::string_view name = std::string_view(*path).substr(g_folder.size());
  FUZZ_REQUIRE(name == caption + kPageFileExtension);
  FUZZ_REQUIRE(codePage.CharCount(name) + kLongestTemporarySuffix <= 255);
  FUZZ_REQUIRE(codePage.CharCount(*path) + kLongestTemporarySuffix <= 259);
  for (std::size_t i = 0; i < name.size(); i += codePage.CharSize(name, i)) {
    if (codePage.CharSize(name, i) == 2) continue;
    FUZZ_REQUIRE(static_cast<unsigned char>(name[i]) >= 32);
    FUZZ_REQUIRE(std::string_view("\\/:*?\"<>|").find(name[i]) == std::string_view::npos);
  }
  FUZZ_REQUIRE(FileNameStart(*path, codePage) == g_folder.size());
  FUZZ_REQUIRE(caption != ".." && name != "." && name != "..");
  FUZZ_REQUIRE(!OpensADevice(name, codePage));
}

void WriteRaw(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();
}

}  // namespace
}  // namespace pendra

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory where the system offers it: a disk file rewritten a million
  // times would cost the run most of its time.
  for (const char* base : {"/dev/shm", "/tmp"}) {
    std::string folder = std::string(base) + "/pendra-list-fuzz-XXXXXX";
    if (mkdtemp(folder.data())) {
      pendra::g_folder = folder + "/";
      break;
    }
  }
  if (pendra::g_folder.empty()) std::abort();
  std::atexit([] {
    std::remove((pendra::g_folder + pendra::kToDoFileName).c_str());
    rmdir(pendra::g_folder.c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pendra;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const Lines lines = SplitLines(text);
  for (const std::string& line : lines)
    FUZZ_REQUIRE(line.find_first_of("\r\n") == std::string::npos);
  FUZZ_REQUIRE(JoinLines(lines) == WithCrLf(text));
  FUZZ_REQUIRE(SplitLines(JoinLines(lines)) == lines);

  // Read from the file as the to-do list and the reminder window read theirs:
  // in UTF-8, and written back, unchanged, as the file was (its line ends
  // CR LF); a list of no lines is an empty file.
  const std::string path = g_folder + kToDoFileName;
  WriteRaw(path, data, size);
  DataFolder folder(g_folder, [] { return DateTime{{2025, 3, 1}, {9, 0, 0}}; });
  ToDoList todo(folder.File(kToDoFileName));
  todo.Load();
  ListText listText;
  const Lines shown = listText.Decode(text);
  FUZZ_REQUIRE(todo.Read() && todo.Items() == shown);
  const TextEncoding encoding = DetectEncoding(text);
  FUZZ_REQUIRE(IsUtf8(encoding) || shown.size() == lines.size());
  const ListText::Encoded back = listText.Encode(shown);
  const std::string whole =
      IsUtf8(encoding) ? std::string(MarkOf(encoding)) + WithCrLf(TextOfFile(text, encoding)) : WithCrLf(text);
  FUZZ_REQUIRE(!back.bytesLost && (shown.empty() ? back.bytes.empty() : back.utf8 == IsUtf8(encoding) && back.bytes == whole));
  for (const std::string& line : shown) CheckCaption(line, Utf8CodePage());

  // The reminder book takes the lines as read; an edit taken out and put
  // back, or a row moved down and up again, leaves what a save writes as it was.
  ReminderBook book;
  book.Replace(Kind::Weekly, ReadListFile(path));
  FUZZ_REQUIRE(book.List(Kind::Weekly) == lines && !book.Changed(Kind::Weekly));
  if (!lines.empty()) {
    const int row = static_cast<int>(size % lines.size());
    FUZZ_REQUIRE(book.BeginEdit(Kind::Weekly, row) == lines[static_cast<std::size_t>(row)]);
    FUZZ_REQUIRE(book.LinesToSave(Kind::Weekly) == lines);
    book.PutBackEdit(Kind::Weekly);
    FUZZ_REQUIRE(book.List(Kind::Weekly) == lines);
    if (book.Move(Kind::Weekly, row, MoveKind::Down))
      book.Move(Kind::Weekly, row + 1, MoveKind::Up);
    FUZZ_REQUIRE(book.LinesToSave(Kind::Weekly) == lines);
  }

  // Tabs.lst: every line is a tab caption and may name a page file.
  for (const std::string& caption : lines) {
    CheckCaption(caption, CodePage());
    CheckCaption(caption, CodePage(932));
  }
  return 0;
}
