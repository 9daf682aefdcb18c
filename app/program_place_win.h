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
// does not fit the code page. Paths of files that do not exist compare as
// they are written. Inline and without the C++ library: the installer's
// actions use it too.
inline bool SameFileW(const wchar_t* a, const wchar_t* b) {
  constexpr DWORD kSize = 1024;  // a longer path is compared as written
  wchar_t longA[kSize], longB[kSize];
  const DWORD na = GetLongPathNameW(a, longA, kSize);
  const DWORD nb = GetLongPathNameW(b, longB, kSize);
  return lstrcmpiW(na > 0 && na < kSize ? longA : a, nb > 0 && nb < kSize ? longB : b) == 0;
}

}  // namespace pendra
