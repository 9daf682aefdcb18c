#pragma once
// What an installer that asks the running Pendra to end (as at the end of a
// session, for this program only) reads of a refusal.
namespace pendra {

// While Pendra holds up an end, its tray window carries this property: a
// global atom whose name is the reason, at most 255 characters.
inline constexpr const char* kEndRefusalProperty = "PendraEndRefusal";
inline constexpr const wchar_t* kEndRefusalPropertyW = L"PendraEndRefusal";

}  // namespace pendra
