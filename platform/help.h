#pragma once
// The Help commands. The help file Pendra.hlp beside the program opens with
// WinHelp, as it always has. Without it the user's guide beside the program
// opens in the browser, at the section of the window asked about where the
// guide has a page for it. With neither, nothing happens and nothing is said.
#include "platform/services.h"

namespace pendra {

inline constexpr const char* kHelpFileName = "Pendra.hlp";
inline constexpr const char* kGuideFileName = "Pendra Guide.html";
// The guide's folder of pictures also holds one small page per section that
// opens the guide there: the shell opens a file, not a file with a #section.
inline constexpr const char* kGuideFolderName = "Pendra Guide files";

enum class HelpTopic { Contents, Notebook };

// `owner` is the window asking (null: the application window).
void ShowHelp(NativeWindow owner, HelpTopic topic);

}  // namespace pendra
