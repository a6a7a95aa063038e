// The checker's report as printed: one paragraph per finding, the
// plug-in's message quoted beneath it, a closing line; UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "checker/data_check.h"

namespace rf::checker {

// `name`: how the file is named in the report.
std::string FormatReport(const Report& report, std::string_view name);

// Code page 1252 text as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace rf::checker
