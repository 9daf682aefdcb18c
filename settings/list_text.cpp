#include "settings/list_text.h"

#include "settings/code_page.h"
#include "settings/text_encoding.h"

namespace pendra {

Lines ListText::Decode(std::string_view bytes) {
  kept_.clear();
  const TextEncoding encoding = DetectEncoding(bytes);
  if (IsUtf8(encoding)) {
    form_ = encoding == TextEncoding::Utf8Bom ? Form::Utf8Bom : Form::Utf8;
    return SplitLines(TextOfFile(bytes, encoding));
  }
  // UTF-16 too is taken as bytes of the code page, as it always was: every
  // byte is kept.
  form_ = Form::CodePage;
  Lines lines = SplitLines(bytes);
  for (std::string& line : lines) {
    if (IsAscii(line)) continue;
    std::string shown = Utf8FromCodePage(line);
    const CodePageText back = CodePageFromUtf8(shown);
    if (!back.whole || back.bytes != line) kept_[shown].push_back(std::move(line));
    line = std::move(shown);
  }
  return lines;
}

void ListText::Forget() {
  form_ = Form::CodePage;
  kept_.clear();
}

ListText::Encoded ListText::Encode(const Lines& lines) const {
  Encoded out;
  // An empty list is an empty file, whatever its form.
  if (lines.empty()) return out;
  if (form_ == Form::CodePage) {
    std::map<std::string_view, std::size_t> taken;
    bool fits = true;
    for (const std::string& line : lines) {
      if (IsAscii(line)) {
        out.bytes += line;
      } else if (const auto kept = kept_.find(line); kept != kept_.end() && taken[line] < kept->second.size()) {
        out.bytes += kept->second[taken[line]++];
      } else {
        const CodePageText text = CodePageFromUtf8(line);
        fits = text.whole;
        if (!fits) break;
        out.bytes += text.bytes;
      }
      out.bytes += "\r\n";
    }
    if (fits) return out;
    out.bytes.clear();
    for (const std::string& line : lines) out.bytesLost = out.bytesLost || kept_.count(line) > 0;
  }
  out.utf8 = true;
  if (form_ != Form::Utf8) out.bytes = kUtf8Bom;
  out.bytes += JoinLines(lines);
  return out;
}

void ListText::Wrote(const Encoded& encoded) {
  if (!encoded.utf8) return;
  if (form_ == Form::CodePage) form_ = Form::Utf8Bom;
  kept_.clear();
}

}  // namespace pendra
