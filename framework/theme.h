// The system's high-contrast theme as the pictures draw in it.
#pragma once

#include <optional>

#include "framework/high_contrast.h"

namespace rf::fw {

// The theme's colours while the system reports high contrast, else
// nothing (the pictures are drawn as stored).
std::optional<ContrastColors> CurrentHighContrast();

}  // namespace rf::fw
