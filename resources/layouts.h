// The stored layouts of the module's dialogs.
#pragma once

#include <span>

#include "framework/dialog_font.h"
#include "framework/layout.h"

namespace rf::resources {

const fw::FormSpec& CharSetForm();
std::span<const fw::ControlSpec> CharSetLayout();

const fw::FormSpec& InfoForm();
std::span<const fw::ControlSpec> InfoLayout();

}  // namespace rf::resources
