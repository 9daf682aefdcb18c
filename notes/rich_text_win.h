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
// The control answers every key itself, whatever the message loop's dialog
// keyboard does in the window around it: Tab and Shift+Tab type a tab, Enter
// a line break, Esc nothing, and no key moves the focus out or selects the
// whole text. Its paste keys paste plain text in place of the selection.
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
#include "settings/text_encoding.h"

namespace pendra {

enum class TextFormat { PlainText, RichText };
enum class MouseButton { Left, Right, Middle };
// The button of a mouse message.
MouseButton ButtonOf(UINT msg);

// What a load found. `faithful` is false when saving the text as the control
// now holds it would not give back the file's bytes, because the control
// changed some of them (the 2.0 control makes every line end CR LF; the 1.0
// control keeps every byte); the editor then tells the user instead of
// silently writing a different file. `stored` is how the file holds its text,
// also where the control does not read it so (the 1.0 control reads every
// file in the code page). `readOnlyBecause` is not empty for a file no save
// could give back (see WhyReadOnly): the control then shows its text
// read-only, and the window never writes the file.
struct TextLoad {
  bool faithful = true;
  TextEncoding stored = TextEncoding::CodePage;
  std::string_view readOnlyBecause;
};

// A text as its file is to hold it.
struct SavedText {
  std::string bytes;
  TextEncoding encoding;
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
  // The key still reaches the control (a paste key pastes after it).
  std::function<void(WPARAM key)> onKeyDown;

  // The whole text as a string in the code page, line ends CR LF; setting it
  // replaces it, in a new window of the control when it holds a large text
  // (see Renew). A character the code page cannot hold reads as "?".
  std::string Text() const;
  void SetText(const std::string& text);
  // The whole text as the control holds it, every character.
  std::wstring WideText() const;
  int TextLength() const;  // 0 exactly when the text is empty
  int SelStart() const;
  int SelLength() const;
  std::string SelText() const;
  void SetSelText(const std::string& text);  // replaces the selection
  void Select(int start, int length);        // length -1: to the end

  void CutToClipboard();
  void CopyToClipboard();
  // The clipboard's plain text replaces the selection; nothing in a
  // read-only control. The control's own paste (its keys, WM_PASTE) comes
  // here too.
  void PasteFromClipboard();
  bool ReadOnly() const;
  // Kept for a window made later, or made anew. Each load sets it: read-only
  // exactly for a file no save could give back.
  void SetReadOnly(bool readOnly);

  // The control's font. Size 0 shows at the designed size.
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font);
  // The font as it is shown and printed: the size resolved.
  FontSpec DisplayFont() const;

  // Position of the first match of `text` in [start, start + length), forward,
  // without case or whole-word matching; -1 when there is none.
  virtual int FindText(const std::string& text, int start, int length) const = 0;

  // Takes a file's bytes as its text (see DetectEncoding): the 2.0 control
  // reads UTF-8 and UTF-16 as such and shows every line end of the file as
  // one; the 1.0 control reads every file in the code page, byte for byte.
  // The text is then unmodified; a file no save could give back makes it
  // read-only (TextLoad).
  TextLoad LoadText(const std::string& fileBytes);
  // How the text was stored where it came from, and so how it is saved: a
  // new or cleared control holds code-page text.
  TextEncoding Encoding() const { return encoding_; }
  // The text changed since it was loaded or stored: by the user, or by the
  // program setting it.
  bool Modified() const { return modified_; }

  // The text as a file's bytes: plain text in the encoding it was loaded
  // from; a code-page text holding a character the code page cannot hold
  // goes as UTF-8 with the mark. Rich text as the control streams it.
  SavedText PlainTextToSave() const;
  std::string SavedBytes(TextFormat format) const;
  // The text was stored as these bytes' encoding: it is no longer modified,
  // and a text that had to go to UTF-8 stays UTF-8 from then on.
  void MarkStored(TextEncoding encoding);

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
  // The control holds Unicode text and reads UTF-8 files as such; otherwise
  // every file is read and written in the code page, byte for byte.
  virtual bool HoldsUnicode() const { return false; }

  std::string StreamOut(UINT format) const;
  void StreamIn(const std::string& bytes);
  void StreamInWide(const std::wstring& text);
  void FireChange();
  // At most `chars` characters of the text, or of the selection, as
  // EM_GETTEXTEX `flags` say (2.0 control).
  std::wstring GetWide(std::size_t chars, DWORD flags) const;

  HWND hwnd_ = nullptr;
  // The longest text the controls take: no file is cut short.
  static constexpr LPARAM kTextLimit = 0x7FFFFFF0;

 private:
  static const char* const kSelfProp;  // the window property that leads to the object
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void ApplyFont();
  // Gives the control a new, empty window in the place of the old one, with
  // its font, settings, focus and place among its siblings. Emptying a text
  // costs time that grows with the square of its size (half a minute and
  // more for a megabyte under Wine), a new window a few milliseconds.
  void Renew();
  void Unsubclass();
  // Puts a character just typed that the code page cannot hold into the text.
  void TakeTypedCharacter();
  // Replace the text, in the code page or every character, with no change
  // event.
  void PutText(const std::string& text);
  void PutWide(std::wstring text);


  WNDPROC baseProc_ = nullptr;
  FontSpec font_;
  bool fontSet_ = false;  // a font was given before the window existed
  int designedSize_ = 10;
  FontSpec designed_;  // what Create was given, for a renewed window
  std::optional<ColorPair> colors_;
  // The text while there is no window: in the code page for a control that
  // holds only that, every character for one that holds Unicode.
  std::string pendingText_;
  std::wstring pendingWide_;
  int quiet_ = 0;  // > 0: the control's own change notices are ignored
  TextEncoding encoding_ = TextEncoding::CodePage;
  bool modified_ = false;
  bool readOnly_ = false;
  bool overtype_ = false;  // the Insert key turned the control to overtype
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
  bool HoldsUnicode() const override { return true; }

 private:
  std::string LinkAddress(LONG start, LONG end) const;  // of a detected link

  LONG pressedMin_ = -1, pressedMax_ = -1;  // the link the button went down on
  UINT pressedButton_ = 0;
};

class TTavrinREDIT final : public RichTextControl {
 public:
  TTavrinREDIT() = default;
  int FindText(const std::string& text, int start, int length) const override;
  // The plain-text printout of the selection in the control's font.
  void PrintSelectedText() const;

 protected:
  const char* ClassName() const override { return "RICHEDIT"; }
  bool LoadLibraryOnce() const override;
  DWORD ExtraStyle() const override { return WS_VSCROLL | ES_AUTOVSCROLL; }
  void Configure() override;
};

}  // namespace pendra
