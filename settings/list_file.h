#pragma once
// Text list files: text read whole into lines and written whole, and the
// files of the data folder. Every path here is UTF-8, so that a file whose
// name the system's code page cannot hold is reached too; a path in the code
// page is converted first (Utf8FromCodePage).
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pendra {

using Lines = std::vector<std::string>;

// A line ends at CR, LF or CR LF; a last line without an end counts.
Lines SplitLines(std::string_view text);
// Every line followed by CR LF, the last one too.
std::string JoinLines(const Lines& lines);

// A missing file is an empty list; a file that exists but cannot be read fails
// with "Cannot open file <path>".
Lines ReadListFile(const std::string& path);
// Replaces the file whole and safely (temporary file beside it, then moved over
// it); fails with "Cannot create file <path>", but not for an empty list where
// no file is, which reads as that list already.
void WriteListFile(const std::string& path, const Lines& lines);

// A whole file as bytes; fails with "Cannot open file <path>", also when the
// file does not exist. Reading a file, like writing it, takes away what
// writes of it ended by a crash or a kill left (RemoveLeftTemporaries).
std::string ReadWholeFile(const std::string& path);
// Replaces the file whole and safely with `bytes`, as WriteListFile does. A
// file that holds exactly these bytes already is not written at all.
void WriteWholeFile(const std::string& path, const std::string& bytes);
// The same without first looking at what the file holds.
void ReplaceWholeFile(const std::string& path, const std::string& bytes);
// Adds the bytes at the end of the file, making it where there is none;
// false when they could not all be written.
bool AppendToFile(const std::string& path, std::string_view bytes);
// Reads a file on the disk in pieces, handing each to `piece`, which returns
// false to stop; false when the file is not there or cannot be read.
bool ReadInPieces(const std::string& path, const std::function<bool(std::string_view)>& piece);

// Opens a file as std::fopen does (platform layer).
std::FILE* OpenFile(const std::string& path, const char* mode);
// A file on the disk is at the path: not a folder, nor a device (platform
// layer).
bool FileExists(const std::string& path);
// Something (a file, a folder) is at the path: it is not simply missing
// (platform layer).
bool PathExists(const std::string& path);
bool RemoveFile(const std::string& path);  // platform layer

// Moves source over target, replacing it (platform layer).
bool ReplaceFileWith(const std::string& source, const std::string& target);
// Whether the user lets the file be replaced: a read-only one stays (platform
// layer).
bool MayReplace(const std::string& path);

// What the file system tells of a file: its size and last-write time, in
// the hundred-nanosecond ticks since 1601 that Windows counts.
struct FileFacts {
  std::uint64_t size = 0;
  std::int64_t writeTime = 0;
  friend bool operator==(const FileFacts&, const FileFacts&) = default;
};
// The facts of a file on the disk; none where no file is (platform layer).
std::optional<FileFacts> FactsOf(const std::string& path);
// The file system's clock now, in the ticks of FileFacts (platform layer).
std::int64_t FileClockNow();
// Whether no program holds the file open for writing: it opens for reading
// with writes denied to others. A file that is not there has no writer
// (platform layer).
bool NoneWriting(const std::string& path);
// Makes the folder unless it is there; false when no folder is there after
// (platform layer).
bool MakeFolder(const std::string& path);
// A second name for the file's bytes, a hard link, where the file system has
// them (platform layer).
bool LinkFile(const std::string& existing, const std::string& link);
struct FolderFile {
  std::string name;
  std::uint64_t size = 0;
};
// The files in a folder (given with its trailing separator), without its
// folders (platform layer).
std::vector<FolderFile> FilesIn(const std::string& folder);

// A write ended by a crash or a kill before its move leaves its temporary
// file behind. Nothing ever reads one, but each holds a whole copy of the
// file, so they are taken away as soon as the file is read or written again.
void RemoveLeftTemporaries(const std::string& path);

// The most WriteWholeFile adds to a file's name for its temporary file: a
// full stop, up to ten and up to eight hexadecimal digits joined by a hyphen,
// and ".tmp". A name must leave room for it, or no save of the file succeeds.
inline constexpr std::size_t kLongestTemporarySuffix = 1 + 10 + 1 + 8 + 4;

// Whether `name` is a name WriteWholeFile gives its temporary file when it
// replaces the file `targetName` (both without their folder).
bool IsTemporaryNameFor(std::string_view name, std::string_view targetName);
// The paths of the files beside `path` whose names begin with its name and a
// full stop and end in ".tmp" (platform layer).
std::vector<std::string> TemporaryCandidatesBeside(const std::string& path);

}  // namespace pendra
