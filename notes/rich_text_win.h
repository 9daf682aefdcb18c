#pragma once
// The text controls of the three text windows: a rich edit control holding
// plain text in one font (the control's font).
//
//   TRxRichEdit   "RichEdit20A" (RICHED20.DLL): plain-text mode, links
//                 detected and clickable (notebook, quick notes).
//   TTavrinREDIT  "RICHEDIT" (RICHED32.DLL): vertical scroll bar only, no
//                 link detection, Print Selected Text (editor).
//
// The library is loaded when the first control of its class is created. A
// control may be used before its window exists (a window that builds its
// controls on first show): its text and font are then kept and given to the
// window when Create runs.
//
// The window that holds the control passes its messages through
// HandleParentMessage, which takes the control's change and link
// notifications:
//
//   LRESULT result;
//   if (redt_.HandleParentMessage(msg, wp, lp, result)) return result;
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace pendra {

// The most a text control takes from a file. Loading and saving a text hold
// it several times over (the file's bytes, the control's own wide copy, the
// bytes saved), which for a larger one can exhaust a 32-bit process.
inline constexpr unsigned long long kMaxTextFileBytes = 32ull << 20;
// A text file's bytes for a control. Fails as ReadWholeFile does, and with
// "Cannot open file <path>. It is larger than 32 MB, ..." for a larger file,
// which is not read at all.
std::string ReadTextFile(const std::string& path);

enum class TextFormat { PlainText, RichText };
enum class MouseButton { Left, Right, Middle };

// What a load found. `faithful` is false when saving the text as the control
// now holds it would not give back the file's bytes, because the control
// changed some of them (the 2.0 control turns a lone CR or LF into CR LF and
// CR CR LF into a blank; the 1.0 control keeps every byte); the editor then
// tells the user instead of silently writing a different file.
struct TextLoad {
  bool faithful = true;
};

class RichTextControl {
 public:
  RichTextControl(const RichTextControl&) = delete;
  RichTextControl& operator=(const RichTextControl&) = delete;
  virtual ~RichTextControl();

  HWND Handle() const { return hwnd_; }  // null until Create
  // Creates the control as a child of `parent` (loading its library on first
  // use) with the font it was designed with, then gives it the font and text
  // it was given before. Throws when the library is not there.
  void Create(HWND parent, int id, const RECT& bounds, const FontSpec& designed);
  void SetBounds(const RECT& bounds);
  void SetFocus();
  // The colours shown, 0x00BBGGRR: the text's, in place of the font's own
  // colour (which stays the font's, for storing and printing), and the
  // background's. Until set, the font's colour on the system's window colour.
  void SetColors(const ColorPair& colors);

  // Events. onChange runs on every change of the text, also when the program
  // sets the text or loads a file (once for each), never for a font change.
  std::function<void()> onChange;
  std::function<void(int x, int y)> onMouseMove;
  std::function<void(MouseButton button, int x, int y)> onMouseDown;
  std::function<void(WPARAM key)> onKeyDown;  // the key still reaches the control

  // The whole text as a string, line ends CR LF; setting it replaces it, in a
  // new window of the control when it holds a large text (see Renew).
  std::string Text() const;
  void SetText(const std::string& text);
  int TextLength() const;  // 0 exactly when the text is empty
  int SelStart() const;
  int SelLength() const;
  std::string SelText() const;
  void SetSelText(const std::string& text);  // replaces the selection
  void Select(int start, int length);        // length -1: to the end

  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();  // the clipboard's plain text replaces the selection

  // The control's font. Size 0 shows at the designed size.
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font);
  // The font as it is shown and printed: the size resolved.
  FontSpec DisplayFont() const;

  // Position of the first match of `text` in [start, start + length), forward,
  // without case or whole-word matching; -1 when there is none.
  virtual int FindText(const std::string& text, int start, int length) const = 0;

  // Plain text, whatever the extension. A file that cannot be read (or one
  // over kMaxTextFileBytes) fails with "Cannot open file <path>..." and leaves
  // the text as it was.
  virtual TextLoad LoadFromFile(const std::string& path);
  // Replaces the file safely; fails with "Cannot create file <path>".
  void SaveToFile(const std::string& path, TextFormat format = TextFormat::PlainText) const;
  // What SaveToFile writes.
  std::string SavedBytes(TextFormat format) const;

  // The text as the control shows it, one string per display line (wrapped
  // at the control's width), at most 4,096 characters each, line ends cut.
  std::vector<std::string> DisplayLines() const;
  // Characters as the control counts its positions (the end of the text).
  virtual int CharCount() const;

  // Takes the control's notifications from its parent's messages; true when
  // the message was one of them.
  virtual bool HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  RichTextControl() = default;
  // The class, extra styles and set-up of a concrete control.
  virtual const char* ClassName() const = 0;
  virtual bool LoadLibraryOnce() const = 0;
  virtual DWORD ExtraStyle() const = 0;
  virtual void Configure() = 0;  // right after creation, while still empty

  std::string StreamOut(UINT format) const;
  void StreamIn(const std::string& bytes);
  void FireChange();

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void ApplyFont();
  // Gives the control a new, empty window in the place of the old one, with
  // its font, settings, focus and place among its siblings. Emptying a text
  // costs time that grows with the square of its size (half a minute and
  // more for a megabyte under Wine), a new window a few milliseconds.
  void Renew();
  void Unsubclass();

  WNDPROC baseProc_ = nullptr;
  FontSpec font_;
  bool fontSet_ = false;  // a font was given before the window existed
  int designedSize_ = 10;
  FontSpec designed_;  // what Create was given, for a renewed window
  std::optional<ColorPair> colors_;
  std::string pendingText_;  // the text while there is no window
  int quiet_ = 0;            // > 0: the control's own change notices are ignored
};

class TRxRichEdit final : public RichTextControl {
 public:
  TRxRichEdit() = default;
  // A left or right button pressed over a detected link and released over the
  // same link.
  std::function<void(const std::string& url, MouseButton button)> onUrlClick;

  int FindText(const std::string& text, int start, int length) const override;
  bool HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  int CharCount() const override;

 protected:
  const char* ClassName() const override { return "RichEdit20A"; }
  bool LoadLibraryOnce() const override;
  DWORD ExtraStyle() const override { return WS_VSCROLL; }
  void Configure() override;

 private:
  LONG pressedMin_ = -1, pressedMax_ = -1;  // the link the button went down on
  UINT pressedButton_ = 0;
};

class TTavrinREDIT final : public RichTextControl {
 public:
  TTavrinREDIT() = default;
  int FindText(const std::string& text, int start, int length) const override;
  // Raises the text limit to 0x7FFFFFF0 characters before and after the load,
  // so that no file is cut short.
  TextLoad LoadFromFile(const std::string& path) override;
  // The plain-text printout of the selection in the control's font.
  void PrintSelectedText() const;

 protected:
  const char* ClassName() const override { return "RICHEDIT"; }
  bool LoadLibraryOnce() const override;
  DWORD ExtraStyle() const override { return WS_VSCROLL | ES_AUTOVSCROLL; }
  void Configure() override;
};

}  // namespace pendra
