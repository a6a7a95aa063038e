#include "framework/theme.h"

#include <windows.h>

namespace rf::fw {

std::optional<ContrastColors> CurrentHighContrast() {
  HIGHCONTRASTW hc = {};
  hc.cbSize = sizeof hc;
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0)) return std::nullopt;
  if (!(hc.dwFlags & HCF_HIGHCONTRASTON)) return std::nullopt;
  return ContrastColors{GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW),
                        GetSysColor(COLOR_HIGHLIGHT)};
}

}  // namespace rf::fw
