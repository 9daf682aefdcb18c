#pragma once
// The four reminder kinds and their fixed texts.
#include <array>

namespace pendra {

enum class Kind { OneTime = 0, Weekly = 1, Daily = 2, Monthly = 3 };
inline constexpr int kKindCount = 4;
inline constexpr std::array<Kind, 4> kAllKinds{Kind::OneTime, Kind::Weekly, Kind::Daily,
                                               Kind::Monthly};

struct KindInfo {
  const char* pageCaption;        // "Reminder", "Weekly Reminder", ...
  const char* fileName;           // "Message.lst", ...
  const char* banner;             // announcement banner line
  const char* heading1;           // first column heading
  const char* heading2;           // second column heading
  int soundSlot;                  // 1..4
  const char* removeAllQuestion;  // the Remove All confirmation text
};

const KindInfo& Info(Kind kind);
inline int Index(Kind kind) { return static_cast<int>(kind); }

}  // namespace pendra
