#include "tools/tablepics/cell_list.h"

#include <charconv>
#include <stdexcept>
#include <string_view>

namespace rf::tablepics {
namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const auto tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

[[noreturn]] void Fail(const char* what, int line_no, std::string_view line) {
  throw std::runtime_error(std::string(what) + " in line " + std::to_string(line_no) + ": " +
                           std::string(line));
}

int Number(std::string_view text, int base, int line_no, std::string_view line) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0)
    Fail("bad number", line_no, line);
  return value;
}

}  // namespace

std::vector<TableInfo> ReadCellLists(std::istream& tables, std::istream& cells) {
  std::vector<TableInfo> result;
  std::string line;
  for (int line_no = 1; std::getline(tables, line); ++line_no) {
    if (line.empty()) continue;
    const auto f = SplitTabs(line);
    if (f.size() != 6) Fail("expected 6 fields", line_no, line);
    TableInfo t;
    t.kind = f[0];
    t.section = f[1];
    t.picture = f[2];
    t.columns = Number(f[3], 10, line_no, line);
    t.rows = Number(f[4], 10, line_no, line);
    t.cell_height = Number(f[5], 10, line_no, line);
    // A cell needs room for the grid, one free pixel on each side and a glyph.
    if (t.columns < 1 || t.rows < 1 || t.cell_height < 8 || t.columns > 100 || t.rows > 100 ||
        t.cell_height > 100)
      Fail("bad table geometry", line_no, line);
    result.push_back(std::move(t));
  }
  for (int line_no = 1; std::getline(cells, line); ++line_no) {
    if (line.empty()) continue;
    const auto f = SplitTabs(line);
    if (f.size() != 5) Fail("expected 5 fields", line_no, line);
    TableInfo* table = nullptr;
    for (auto& t : result)
      if (t.section == f[0]) table = &t;
    if (table == nullptr) Fail("unknown table", line_no, line);
    if (Number(f[1], 10, line_no, line) != static_cast<int>(table->cells.size()))
      Fail("cell out of order", line_no, line);
    CellInfo cell;
    cell.key = Number(f[2], 10, line_no, line);
    if (f[3] != "-") {
      const int cp = Number(f[3], 16, line_no, line);
      if (cp > 0x10FFFF) Fail("bad code point", line_no, line);
      cell.codepoint = static_cast<char32_t>(cp);
    }
    if (f[4] != "0" && f[4] != "1") Fail("bad drawn flag", line_no, line);
    cell.drawn = f[4] == "1";
    if (cell.drawn && !cell.codepoint) Fail("drawn cell without a character", line_no, line);
    table->cells.push_back(cell);
  }
  for (const auto& t : result)
    if (static_cast<int>(t.cells.size()) != t.columns * t.rows)
      throw std::runtime_error("table " + t.section + " has " + std::to_string(t.cells.size()) +
                               " cells, expected " + std::to_string(t.columns * t.rows));
  return result;
}

}  // namespace rf::tablepics
