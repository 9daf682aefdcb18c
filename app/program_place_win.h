#pragma once
// The start's look at where the program runs from.

namespace pendra {

// A copy started from inside a zip runs in a folder that an archive program
// made in the temporary folder, which Windows deletes later with everything
// stored in it. True when that is so: the user has been told to unpack the
// zip first, and the start ends without storing anything.
bool ToldToUnpackFirst();

}  // namespace pendra
