// The module-wide result of the last picker run, read by the plug-in's
// exports. Written by the dialog's OK and cancel paths (a bad-data box the
// user confirms during loading takes the cancel path) and the failure path
// of the start export.
#pragma once

#include <cstdint>
#include <string>

namespace rf::chardata {

extern std::string ResultText;   // the text the host is to insert
extern std::int32_t ResultKind;  // 0: nothing to insert; 1: insert ResultText

}  // namespace rf::chardata
