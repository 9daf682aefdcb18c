#pragma once
// Text list files: plain 8-bit text read whole into lines and written whole.
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
// it); fails with "Cannot create file <path>".
void WriteListFile(const std::string& path, const Lines& lines);

// A whole file as bytes; fails with "Cannot open file <path>", also when the
// file does not exist.
std::string ReadWholeFile(const std::string& path);
// Replaces the file whole and safely with `bytes`, as WriteListFile does.
void WriteWholeFile(const std::string& path, const std::string& bytes);

bool FileExists(const std::string& path);
// Something (a file, a folder) is at the path: it is not simply missing.
bool PathExists(const std::string& path);
bool RemoveFile(const std::string& path);

// Moves source over target, replacing it (platform layer).
bool ReplaceFileWith(const std::string& source, const std::string& target);

}  // namespace pendra
