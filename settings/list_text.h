#pragma once
// How a list file's bytes become the lines Pendra holds, in UTF-8, and back.
//
// A list is read either way: in UTF-8 when its bytes are (with or without the
// byte-order mark), else in the system's code page. It is written as it was
// read while every line fits that, so a list in the code page stays byte for
// byte what other tools and older copies read; one that holds a character
// the code page cannot is written in UTF-8 after the byte-order mark, as the
// pages are, and stays so. A line whose bytes the code page gives no
// characters for (a broken double-byte sequence, a mark before bytes that
// are no UTF-8) is written as it was read while it is unchanged.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "settings/list_file.h"

namespace pendra {

class ListText {
 public:
  // The lines of a file's bytes; remembers how the file holds them.
  Lines Decode(std::string_view bytes);
  // No file: a new list starts in the code page.
  void Forget();

  struct Encoded {
    std::string bytes;
    bool utf8 = false;
    // Lines read in bytes of no character go to a list turned UTF-8 as they
    // were shown: those bytes are not in `bytes`.
    bool bytesLost = false;
  };
  Encoded Encode(const Lines& lines) const;
  // The file now holds what Encode gave.
  void Wrote(const Encoded& encoded);

 private:
  enum class Form { CodePage, Utf8, Utf8Bom };
  Form form_ = Form::CodePage;
  // The bytes of each line the code page cannot give back, by the line as
  // shown; lines shown alike keep their bytes in the order read.
  std::map<std::string, std::vector<std::string>> kept_;
};

}  // namespace pendra
