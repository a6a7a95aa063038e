// The full path of the plug-in module itself (not of the host program), as
// Windows reports it for the module's own handle. Windows builds only
// (rf_chardata_win); portable code gets it from its ConfigurationHost.
#pragma once

#include <string>

namespace rf::chardata {

std::string PluginModuleFileName();

}  // namespace rf::chardata
