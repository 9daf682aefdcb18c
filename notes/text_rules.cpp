#include "notes/text_rules.h"

#include <algorithm>

namespace pendra {
namespace {

bool Refreshes(const CommandStateRow& row, TextEvent event) {
  return event == TextEvent::Change ? row.onChange : row.onMouseMove;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) {
           return p == ((t >= 'A' && t <= 'Z') ? static_cast<char>(t | 0x20) : t);
         });
}

}  // namespace

bool RuleHolds(CommandRule rule, const TextFacts& facts) {
  switch (rule) {
    case CommandRule::Clipboard: return facts.clipboardHasText;
    case CommandRule::Selection: return facts.selectionLength > 0;
    case CommandRule::Text: return facts.textLength > 0;
  }
  return false;
}

std::vector<std::pair<int, bool>> CommandStates(std::span<const CommandStateRow> table,
                                                TextEvent event, const TextFacts& facts) {
  std::vector<std::pair<int, bool>> states;
  for (const CommandStateRow& row : table)
    if (Refreshes(row, event)) states.emplace_back(row.command, RuleHolds(row.rule, facts));
  return states;
}

bool EventUsesRule(std::span<const CommandStateRow> table, TextEvent event, CommandRule rule) {
  return std::any_of(table.begin(), table.end(), [&](const CommandStateRow& row) {
    return row.rule == rule && Refreshes(row, event);
  });
}

SearchRange FindNextRange(int selectionStart, int selectionLength, int textLength) {
  const int start = selectionLength != 0 ? selectionStart + selectionLength : 0;
  return {start, std::max(textLength - start, 0)};
}

bool IsRichTextFileName(std::string_view path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("\\/:");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot))
    return false;
  const std::string_view ext = path.substr(dot + 1);
  return ext.size() == 3 && std::equal(ext.begin(), ext.end(), "rtf", [](char a, char b) {
           return (a | 0x20) == b;
         });
}

std::string PercentEncoded(std::string_view bytes) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += {'%', kHex[b >> 4], kHex[b & 15]};
  }
  return out;
}

std::optional<std::string> LinkToOpen(std::string_view link) {
  for (std::string_view scheme : {"http:", "https:", "ftp:", "mailto:"})
    if (StartsWithNoCase(link, scheme)) return std::string(link);
  if (StartsWithNoCase(link, "www.")) return "http://" + std::string(link);
  return std::nullopt;
}

}  // namespace pendra
