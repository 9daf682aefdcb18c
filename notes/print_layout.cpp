#include "notes/print_layout.h"

#include <algorithm>

namespace pendra {

int NextTabStop(int x, int averageCharWidth) {
  const int step = std::max(8 * averageCharWidth, 1);
  return (x / step + 1) * step;
}

namespace {

struct Glyph {
  int x;
  char c;  // '\t' stands for the room a tab takes; it is not drawn
  char trail = 0;  // the second byte of a double-byte character
};

class Layout {
 public:
  Layout(const PrintMetrics& m, LineBreaks breaks) : m_(m), breaks_(breaks) { pages_.emplace_back(); }

  void Put(unsigned char c) { Place({0, static_cast<char>(c)}, m_.charWidths[c]); }

  void PutDoubleByte(char lead, char trail) {
    const char both[] = {lead, trail};
    const int w = m_.doubleByteWidth ? m_.doubleByteWidth(std::string_view(both, 2))
                                     : m_.charWidths[static_cast<unsigned char>(lead)] +
                                           m_.charWidths[static_cast<unsigned char>(trail)];
    Place({0, lead, trail}, w);
  }

  void Place(Glyph g, int w) {
    // In word mode blanks may hang past the edge; the next word then wraps.
    if (x_ + w > m_.pageWidth && !line_.empty() && !(breaks_ == LineBreaks::AtWord && g.c == ' '))
      Wrap();
    g.x = x_;
    line_.push_back(g);
    x_ += w;
  }

  void Tab() {
    const int stop = NextTabStop(x_, m_.averageCharWidth);
    if (stop > m_.pageWidth && !line_.empty()) {
      EndLine();
      return;
    }
    line_.push_back({x_, '\t'});
    x_ = stop;
  }

  void EndLine() {
    Flush();
    y_ += m_.lineHeight;
    if (y_ + m_.lineHeight > m_.pageHeight) full_ = true;
  }

  void FormFeed() {
    if (!line_.empty()) Flush();
    NewPage();
  }

  std::vector<PrintPage> Finish() {
    if (!line_.empty()) Flush();
    return std::move(pages_);
  }

 private:
  // The line is full: it ends before the character that does not fit or, in
  // word mode, after its last blank, and the rest starts the next line.
  void Wrap() {
    std::size_t keep = line_.size();
    if (breaks_ == LineBreaks::AtWord) {
      for (std::size_t i = line_.size(); i-- > 0;) {
        if (line_[i].c == ' ' || line_[i].c == '\t') {
          keep = i + 1;
          break;
        }
      }
    }
    const std::vector<Glyph> rest(line_.begin() + static_cast<std::ptrdiff_t>(keep), line_.end());
    line_.resize(keep);
    EndLine();
    for (const Glyph& g : rest) {
      if (g.c == '\t') Tab();
      else if (g.trail) PutDoubleByte(g.c, g.trail);
      else Put(static_cast<unsigned char>(g.c));
    }
  }

  // Writes the line at the current height; a full page gives way to a new one
  // first, so a page is only begun for something to put on it.
  void Flush() {
    if (full_) NewPage();
    PrintPage& page = pages_.back();
    for (std::size_t i = 0; i < line_.size();) {
      if (line_[i].c == '\t') {
        ++i;
        continue;
      }
      PrintRun run{line_[i].x, y_, {}};
      for (; i < line_.size() && line_[i].c != '\t'; ++i) {
        run.text += line_[i].c;
        if (line_[i].trail) run.text += line_[i].trail;
      }
      page.push_back(std::move(run));
    }
    line_.clear();
    x_ = 0;
  }

  void NewPage() {
    pages_.emplace_back();
    y_ = 0;
    full_ = false;
  }

  const PrintMetrics& m_;
  LineBreaks breaks_;
  std::vector<PrintPage> pages_;
  std::vector<Glyph> line_;
  int x_ = 0;
  int y_ = 0;
  bool full_ = false;  // the next line does not fit on the page
};

}  // namespace

std::vector<PrintPage> LayOutPages(std::string_view text, const PrintMetrics& metrics,
                                   LineBreaks breaks) {
  Layout layout(metrics, breaks);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        layout.EndLine();
        break;
      case '\n': layout.EndLine(); break;
      case '\f': layout.FormFeed(); break;
      case '\t': layout.Tab(); break;
      default:
        if (metrics.codePage.CharSize(text, i) == 2) {
          layout.PutDoubleByte(c, text[i + 1]);
          ++i;
        } else {
          layout.Put(static_cast<unsigned char>(c));
        }
        break;
    }
  }
  return layout.Finish();
}

}  // namespace pendra
