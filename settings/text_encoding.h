#pragma once
// How the text of a page or a note is stored, decided without a window: a
// file another program wrote in UTF-8 or UTF-16 is read and written back so,
// one in the system's code page byte for byte, and a text the code page
// cannot hold is never squeezed into it. A file no save could give back
// (UTF-32, or UTF-16 with a byte over) is shown read-only and never written.
#include <string>
#include <string_view>

namespace pendra {

enum class TextEncoding {
  CodePage,  // the system's 8-bit (ANSI) code page
  Utf8,      // UTF-8 without a byte-order mark
  Utf8Bom,   // UTF-8 after the byte-order mark EF BB BF
  Utf16Le,   // UTF-16 after the mark FF FE ("Unicode" to older Windows editors)
  Utf16Be,   // UTF-16 after the mark FE FF
  Utf32Le,   // UTF-32 after the mark FF FE 00 00: shown, never written
  Utf32Be,   // UTF-32 after the mark 00 00 FE FF: shown, never written
};

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

inline bool IsUtf8(TextEncoding e) { return e == TextEncoding::Utf8 || e == TextEncoding::Utf8Bom; }
inline bool IsUtf16(TextEncoding e) { return e == TextEncoding::Utf16Le || e == TextEncoding::Utf16Be; }
inline bool IsUtf32(TextEncoding e) { return e == TextEncoding::Utf32Le || e == TextEncoding::Utf32Be; }
// The byte-order mark a file in `encoding` begins with; empty for none.
std::string_view MarkOf(TextEncoding encoding);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF,
// no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

// How a file's bytes are read. UTF-32 or UTF-16 when they start with its
// mark (UTF-32's first: FF FE 00 00 is no UTF-16 text worth the name); UTF-8
// when they start with the byte-order mark (and the rest is well-formed), or
// when they are well-formed UTF-8 holding at least one byte above 0x7F;
// anything else (plain ASCII included) is the code page, which keeps every
// byte.
TextEncoding DetectEncoding(std::string_view bytes);

// Why a file read in `encoding` is shown read-only and never written, as a
// clause for the user ("it is stored as UTF-32, ..."); empty for a file whose
// text a save gives back. UTF-32 is not written by Pendra, and UTF-16 with an
// odd number of bytes ends in half a character that no save could keep.
std::string_view WhyReadOnly(std::string_view bytes, TextEncoding encoding);

// The text of a file read in `encoding`: its bytes without the mark.
std::string_view TextOfFile(std::string_view bytes, TextEncoding encoding);

// UTF-16 bytes (without the mark) as characters, and back, in the byte order
// of `encoding` (Utf16Le or Utf16Be).
std::u16string FromUtf16Bytes(std::string_view bytes, TextEncoding encoding);
std::string ToUtf16Bytes(std::u16string_view text, TextEncoding encoding);
// UTF-32 bytes (without the mark) as UTF-16, in the byte order of `encoding`
// (Utf32Le or Utf32Be); a value that is no character reads as U+FFFD, and
// bytes short of a whole value at the end are left out.
std::u16string FromUtf32Bytes(std::string_view bytes, TextEncoding encoding);

// The encoding a text goes back to its file in. A UTF-8 or UTF-16 file stays
// so, with or without its mark; a code-page text that holds a character the code page
// cannot hold is stored as UTF-8 with the mark, so that nothing becomes "?".
TextEncoding EncodingToSave(TextEncoding loaded, bool fitsCodePage);

// Whether a text fits the code page, from its conversion there and back: it
// fits when the conversion used no default character and gave the text again.
bool FitsCodePage(std::u16string_view text, std::u16string_view backFromCodePage, bool usedDefaultChar);

// Whether every line of the text ends in CR LF: a lone CR or LF, which a text
// control turns into something else, is not there.
bool HasOnlyCrLfLineEnds(std::string_view text);
bool HasOnlyCrLfLineEnds(std::u16string_view text);
// Every line end (CR, LF or CR LF, as a text list file reads them) made CR LF,
// so that the text shows with the lines the file holds. Safe for UTF-8 and the
// double-byte code pages, whose second bytes are never CR or LF.
std::string WithCrLfLineEnds(std::string_view text);
std::u16string WithCrLfLineEnds(std::u16string_view text);

}  // namespace pendra
