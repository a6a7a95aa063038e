// Tests over the table lists and the scalable fonts the larger pictures
// are drawn from; skipped where the fonts are not installed.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "tools/tablepics/cell_list.h"
#include "tools/tablepics/font_chain.h"

namespace rf::tablepics {

class TableFontsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* path : kScalableFonts)
      if (!std::filesystem::exists(path))
        GTEST_SKIP() << path << " missing (scripts/install-deps.sh)";
    fonts_.emplace(kScalableFonts);
    std::ifstream t(std::filesystem::path(RF_TABLE_LIST_DIR) / "tables.tsv");
    std::ifstream c(std::filesystem::path(RF_TABLE_LIST_DIR) / "cells.tsv");
    tables_ = ReadCellLists(t, c);
  }

  const FontChain& Fonts() const { return *fonts_; }

  std::optional<FontChain> fonts_;
  std::vector<TableInfo> tables_;
};

}  // namespace rf::tablepics
