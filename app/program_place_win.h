#pragma once
// The start's look at where the program runs from, and which file a path
// names.
#include <windows.h>

namespace pendra {

// A copy started from inside a zip runs in a folder that an archive program
// made in the temporary folder, which Windows deletes later with everything
// stored in it. True when that is so: the user has been told to unpack the
// zip first, and the start ends without storing anything.
bool ToldToUnpackFirst();

// True when two paths name one file, whatever their letter case and whether
// either is in its short (8.3) form, as a path is written where its long form
// does not fit the code page. Paths of files that do not exist, and paths
// longer than MAX_PATH (which some systems' GetLongPathNameW overruns),
// compare as they are written. Inline and without the C++ library: the
// installer's actions use it too.
inline bool SameFileW(const wchar_t* a, const wchar_t* b) {
  constexpr DWORD kSize = 1024;
  const auto longForm = [](const wchar_t* path, wchar_t (&buffer)[kSize]) {
    if (lstrlenW(path) >= MAX_PATH) return path;
    const DWORD n = GetLongPathNameW(path, buffer, kSize);
    return n > 0 && n < kSize ? static_cast<const wchar_t*>(buffer) : path;
  };
  wchar_t longA[kSize], longB[kSize];
  return lstrcmpiW(longForm(a, longA), longForm(b, longB)) == 0;
}

}  // namespace pendra
