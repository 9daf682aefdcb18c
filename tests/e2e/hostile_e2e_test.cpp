// Hostile data files met by the running program: binary garbage in every file
// it reads, one 33 MB line in every list, a page and a note just over the
// 32 MB a text window takes, each file read-only, a read-only program folder,
// and a folder in the place of each file.
// clang-format off
#include <windows.h>
#include <sddl.h>
// clang-format on

#include "settings/code_page.h"
#include "tests/e2e/hostile_walk.h"

namespace pendra::e2e {
namespace {

class HostileE2e : public HostileWalk, public testing::WithParamInterface<HostileCase> {};

TEST_P(HostileE2e, TheProgramGoesOnAndKeepsEveryFile) { Run(GetParam()); }

// ---- Cases ------------------------------------------------------------------

std::string Garbage() {
  std::string bytes;
  unsigned x = 12345;
  for (int i = 0; i < 4096; ++i) {
    x = x * 1103515245u + 12345u;
    bytes += static_cast<char>(x >> 24);
  }
  return bytes;
}

// What the start says of a program folder it cannot write.
std::string FolderMessage(HostileWalk &t) {
  return "Pendra: Pendra cannot write to its folder, " + t.Folder().substr(0, t.Folder().size() - 1) +
         ". Pendra keeps your notes, reminders and lists beside the program, so nothing you change can be "
         "saved. Move the Pendra folder to a folder of your own, for example in your Documents, and start "
         "Pendra from there.";
}

void Put(HostileWalk &t, const std::string &name, const std::string &bytes) {
  WriteFileBytes(t.PathOf(name), bytes);
}

bool CanMakeFilesIn(HostileWalk &t) {
  const std::string probe = t.PathOf("probe.tmp");
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileA(probe.c_str());
  return true;
}

// The program folder made read-only for real. Wine ignores a folder's
// read-only attribute and the tests run with every right, so there the folder
// is made immutable by chattr; on Windows a rule denies making files in it.
void MakeReadOnly(HostileWalk &t, bool readOnly) {
  using UnixName = char *(CDECL *)(const wchar_t *);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  std::string folder = t.Folder();
  folder.pop_back();
  if (!unixName) {
    // Everyone may do everything but add or take away entries of the folder.
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        readOnly ? "D:(D;;0x46;;;WD)(A;OICI;FA;;;WD)" : "D:(A;OICI;FA;;;WD)", SDDL_REVISION_1, &sd, nullptr));
    EXPECT_TRUE(SetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, sd));
    LocalFree(sd);
  } else {
    const std::wstring wide(folder.begin(), folder.end());
    char *path = unixName(wide.c_str());
    ASSERT_TRUE(path);
    std::string command = std::string("/usr/bin/chattr ") + (readOnly ? "+i " : "-i ") + path;
    HeapFree(GetProcessHeap(), 0, path);
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  // A Unix program started from Wine cannot be waited for: its effect is.
  if (!WaitUntil([&] { return CanMakeFilesIn(t) != readOnly; }, 5000) && readOnly)
    GTEST_SKIP() << "the program folder cannot be made read-only here";
}

bool IsReminderList(const std::string &name) { return name.find("Message.lst") != std::string::npos; }

// A file the program rewrites at a save the walk makes (the to-do list, the
// tab list, a page, the quick note) keeps every line it read; only the line
// ends may become CR LF.
void ExpectSameLines(HostileWalk &t, const std::string &name, const std::string &bytes) {
  EXPECT_TRUE(SplitLines(ReadFileBytes(t.PathOf(name))) == SplitLines(bytes))
      << name << " lost or changed a line";
}

// What the notebook says of a tab whose caption holds characters no file name
// may; a long caption is quoted by its beginning.
// The caption given in the code page: the box quotes it by its first 80
// bytes in UTF-8, as Pendra holds it, and is read back in the code page.
std::string PageWithoutFile(const std::string &caption) {
  const std::string utf8 = Utf8FromCodePage(caption);
  const std::string quoted = utf8.size() > 80 ? std::string(Utf8CodePage().Cut(utf8, 80)) + "..." : utf8;
  return "Pendra: The page of the tab \"" + CodePageFromUtf8(quoted).bytes +
         "\" cannot be stored in a file, so it stays empty. A tab name may not hold \\ / : * ? \" < > | or "
         "control characters. Remove the tab under Edit Tabs and add it with another name.";
}

// Line ends as another system writes them: LF alone, the last line too. A
// save of what was read then differs from the file.
std::string UnixLineEnds(const std::string &bytes) {
  std::string text;
  for (const std::string &line : SplitLines(bytes)) text += line + "\n";
  return text;
}

std::string CannotOpen(HostileWalk &t, const std::string &name) {
  return "Pendra: Cannot open file " + t.PathOf(name) + ".";
}

std::vector<HostileCase> Cases() {
  std::vector<HostileCase> cases;
  for (const char *file : kDataFiles) {
    if (std::string(file) == "DEF.pnd") continue;
    const std::string name = file;
    const std::string id = name.substr(0, name.find('.'));
    const bool list = IsReminderList(name);

    // Lines that are no entries are passed over in silence; the other files
    // show the bytes as text and write back every line, except a page and the
    // note, which the walk only looks at: they keep every byte.
    const bool viewed = name == "ABC.pnd" || name == "Quick.qnf";
    cases.push_back({"Garbage" + id, [name](HostileWalk &t) { Put(t, name, Garbage()); },
                     [name, list, viewed](HostileWalk &) {
                       Expect e;
                       if (!list && !viewed) e.mayChange = {name};
                       // The second tab's caption, met by the walk's switch, holds
                       // characters no file name may.
                       if (name == "Tabs.lst")
                         e.told = {PageWithoutFile(SplitLines(Garbage())[1])};
                       return e;
                     },
                     [name, list](HostileWalk &t) {
                       if (!list) ExpectSameLines(t, name, Garbage());
                     },
                     nullptr});

    // A page or a note that large is refused whole, by its size, and kept; a
    // list shows it.
    cases.push_back({"HugeLine" + id,
                     [name](HostileWalk &t) {
                       if (name == "ABC.pnd" || name == "Quick.qnf")
                         testing_files::WriteSparseFile(t.PathOf(name), (32u << 20) + 1);
                       else
                         ASSERT_TRUE(CopyFileA(HugeLineFile().c_str(), t.PathOf(name).c_str(), FALSE));
                     },
                     [name, list](HostileWalk &t) {
                       Expect e;
                       if (name == "ToDo.lst" || name == "Tabs.lst") e.mayChange = {name};
                       if (name == "Tabs.lst")
                         e.told = {PageWithoutFile(ReadFileBytes(HugeLineFile()))};
                       if (name == "ABC.pnd" || name == "Quick.qnf")
                         e.told = {CannotOpen(t, name) +
                                   " It is larger than 32 MB, more than Pendra can show."};
                       return e;
                     },
                     [name](HostileWalk &t) {
                       if (name == "ToDo.lst" || name == "Tabs.lst")
                         ExpectSameLines(t, name, ReadFileBytes(HugeLineFile()));
                     },
                     nullptr});

    // Read-only, with line ends the program would write otherwise: the save
    // that must write the file fails, says so once, and the file stays. A
    // page or a note is written only after an edit, which the walk makes none
    // of.
    cases.push_back({"ReadOnly" + id,
                     [name](HostileWalk &t) {
                       Put(t, name, UnixLineEnds(ReadFileBytes(t.PathOf(name))));
                       ASSERT_TRUE(SetFileAttributesA(t.PathOf(name).c_str(), FILE_ATTRIBUTE_READONLY));
                     },
                     [name, list, viewed](HostileWalk &t) {
                       if (list || viewed) return Expect{};
                       return Expect{{"Pendra: Cannot create file " + t.PathOf(name) + "."}, false, {}};
                     },
                     nullptr, nullptr});

    // A folder in the place of a file cannot be read, so it is never written.
    cases.push_back({"Folder" + id,
                     [name](HostileWalk &t) {
                       ASSERT_TRUE(DeleteFileA(t.PathOf(name).c_str()));
                       ASSERT_TRUE(CreateDirectoryA(t.PathOf(name).c_str(), nullptr));
                     },
                     [name, list](HostileWalk &t) {
                       Expect e;
                       e.told = {list ? "Pendra: Cannot read file " + t.PathOf(name) +
                                            ". Its reminders were not loaded, and the file will not be "
                                            "overwritten until it can be read."
                                      : CannotOpen(t, name)};
                       return e;
                     },
                     nullptr, nullptr});
  }
  // Nothing to change saves in silence; the to-do list, whose line ends
  // differ from what the program writes, cannot be saved, and the exit stops.
  // The start says once what the folder means for the user's data.
  cases.push_back({"ReadOnlyProgramFolder",
                   [](HostileWalk &t) {
                     Put(t, "ToDo.lst", UnixLineEnds(ReadFileBytes(t.PathOf("ToDo.lst"))));
                     MakeReadOnly(t, true);
                   },
                   [](HostileWalk &t) {
                     return Expect{{FolderMessage(t), "Pendra: Cannot create file " + t.PathOf("ToDo.lst") + "."},
                                   false,
                                   {}};
                   },
                   nullptr, [](HostileWalk &t) { MakeReadOnly(t, false); }});
  // A fresh copy where it cannot write (under Program Files): no data file
  // yet, and nothing the user changed, so the exit goes ahead.
  cases.push_back({"ReadOnlyFreshProgramFolder",
                   [](HostileWalk &t) {
                     for (const char *name : kDataFiles) DeleteFileA(t.PathOf(name).c_str());
                     MakeReadOnly(t, true);
                   },
                   [](HostileWalk &t) {
                     return Expect{{FolderMessage(t)}, true, {}};
                   },
                   nullptr, [](HostileWalk &t) { MakeReadOnly(t, false); }});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileE2e, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<HostileCase> &info) { return info.param.id; });

}  // namespace
}  // namespace pendra::e2e
