// The tables and their cells as the cell tables' TSV output gives them.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace rf::tablepics {

struct CellInfo {
  int key = 0;
  std::optional<char32_t> codepoint;
  bool drawn = false;
};

struct TableInfo {
  std::string kind;     // e.g. "ctISO8859_1"
  std::string section;  // e.g. "ISO-8859-1"
  std::string picture;  // e.g. "IISO8859_1"
  int columns = 0;
  int rows = 0;
  int cell_height = 0;
  std::vector<CellInfo> cells;  // column-major: cell i is column i / rows, row i % rows

  int Width() const { return 18 * columns + 1; }
  int Height() const { return cell_height * rows + 1; }
};

// Reads the table list (kind, section, picture, columns, rows, cell height)
// and the cell list (section, cell, key, code point in hex or "-", drawn),
// both tab-separated. Throws std::runtime_error naming the line on bad input,
// on a cell of an unknown table, on cells out of order and on a table whose
// cell count is not columns x rows.
std::vector<TableInfo> ReadCellLists(std::istream& tables, std::istream& cells);

}  // namespace rf::tablepics
