#pragma once
// The notebook's design, shared by the files of its window: where the window
// sits until the user changes it, the sizes of its controls, and the hints of
// its toolbar.
#include "platform/colors.h"
#include "platform/services.h"

namespace pendra::notebook {

// Where the window sits and how large it is until the user changes it; it
// is never made smaller than its design size. Design values are pixels at
// 96 DPI; the window scales them to its DPI.
inline constexpr int kDesignLeft = 222;
inline constexpr int kDesignTop = 244;
inline constexpr int kDesignWidth = 625;
inline constexpr int kDesignHeight = 300;
inline constexpr int kTabHeight = 20;
inline constexpr int kClockWidth = 76;
inline constexpr int kDateWidth = 172;
inline constexpr int kClockHeight = 20;
inline constexpr int kDateHeight = 21;
inline constexpr int kPictureSize = 16;  // of the toolbar's pictures
inline constexpr const char* kToolbarPictures = "NOTEBOOKTOOLS";  // 16 x 16 each, in button order
inline const FontSpec kDesignedFont{"MS Sans Serif", 10, 0, {}};   // 13 pixels high
inline constexpr ColorPair kClockColors{0x0000FF, 0x000000};       // red on black

// The hint of a toolbar button; none for another id.
const char* HintOf(int id);

}  // namespace pendra::notebook
