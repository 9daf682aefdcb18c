#pragma once
// Pendra keeps every data file beside its executable. A copy placed where the
// user may not write (under Program Files, where the manifest's asInvoker
// turns file virtualisation off) can save nothing; the start finds that out
// and says so once.
#include <string>

namespace pendra {

// True when a file can be made in the folder (with its trailing separator):
// one temporary file, deleted as its handle closes, so nothing is left even
// when the process is killed.
bool CanWriteIn(const std::string& folder);

// At start: notes in the services whether the program folder can be written,
// before the windows are made. A folder that cannot is told with
// TellReadOnlyProgramFolder once they are.
void CheckProgramFolder();
void TellReadOnlyProgramFolder();

}  // namespace pendra
