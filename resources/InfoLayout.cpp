// Layout of the info dialog: the plug-in's name and version, the maker's
// notice line, and three hot-link labels (web site, error reports and the
// donation button).
#include <string>

#include "info/InfoTexts.h"
#include "info/NxHotLabelBase.h"
#include "resources/layouts.h"

namespace rf::resources {
namespace {

using fw::ControlKind;
using fw::ControlSpec;
using fw::TextAlign;
using info::FontAttributes;

constexpr fw::FontSpec kDialogFont{fw::kDialogFontName, fw::kDialogFontHeight};

const FontAttributes kLinkFont{.name = fw::kDialogFontName,
                               .height = fw::kDialogFontHeight,
                               .underline = true,
                               .color = info::kNavy};
const FontAttributes kHighlightFont{.name = fw::kDialogFontName,
                                    .height = fw::kDialogFontHeight,
                                    .underline = true,
                                    .color = info::kRed};
const FontAttributes kDonationFont{
    .name = fw::kDialogFontName, .height = 32, .underline = true, .color = info::kNavy};

// The site is stored without a scheme; since the caption is not the URL it
// is never checked.
const info::NxHotLabelProperties kWebSite{
    .caption_is_url = false,
    .highlight_font = kHighlightFont,
    .highlight_url = false,
    .hint_style = info::hsCustom,
    .url = std::string(info::kWebSite),
    .caption = std::string(info::kWebSite),
    .font = kLinkFont,
};

const info::NxHotLabelProperties kErrorMail{
    .caption_is_url = false,
    .highlight_font = kHighlightFont,
    .highlight_url = false,
    .url = info::ErrorMailURL(),
    .validate_url = false,
    .caption = std::string(info::kErrorMail),
    .font = kLinkFont,
};

// Lies over the donation picture and takes its clicks.
const info::NxHotLabelProperties kDonation{
    .caption_is_url = false,
    .highlight_font = kHighlightFont,
    .highlight_url = false,
    .url = info::DonationURL(),
    .validate_url = false,
    .caption = std::string(27, ' '),
    .font = kDonationFont,
};

const fw::FormSpec kForm{
    .name = "FrmInfo",
    .caption = "Info",
    .client_width = 290,
    .client_height = 196,
    .font = kDialogFont,
    .icon = "MAINICON",
    .active_control = "BtEnde",
    .system_menu = false,
};

// The three lines at the top span the dialog, so their text is centred
// across it; the other labels size themselves to their text.
const ControlSpec kLayout[] = {
    {.name = "LblInfo",
     .bounds = {0, 16, 290, 17},
     .caption = "html Character Set Plug In für Pennaro Editor",
     .alignment = TextAlign::Center},
    {.name = "LblVersion",
     .bounds = {0, 48, 289, 13},
     .caption = "Version 1.0",
     .alignment = TextAlign::Center},
    {.name = "LblCopyright", .bounds = {0, 72, 297, 13}, .alignment = TextAlign::Center},
    {.name = "LbleMail",
     .bounds = {15, 96, 92, 13},
     .caption = "Fehler per email an:",
     .alignment = TextAlign::Center,
     .auto_size = true},
    {.name = "LblInternet",
     .bounds = {15, 128, 53, 13},
     .caption = "Im Internet:",
     .auto_size = true},
    {.name = "Image1",
     .kind = ControlKind::Icon,
     .bounds = {125, 152, 33, 33},
     .picture = "MAINICON"},
    {.name = "NxLblwww",
     .kind = ControlKind::Custom,
     .bounds = {136, 128, 78, 13},
     .auto_size = true,
     .hint = "Internet",
     .show_hint = true,
     .class_name = "TNxHotLabel",
     .properties = &kWebSite},
    {.name = "NxLblemail",
     .kind = ControlKind::Custom,
     .bounds = {136, 96, 138, 13},
     .show_accel_char = false,
     .auto_size = true,
     .hint = "email",
     .show_hint = true,
     .class_name = "TNxHotLabel",
     .properties = &kErrorMail},
    {.name = "BtEnde",
     .kind = ControlKind::Button,
     .bounds = {8, 152, 84, 35},
     .caption = "OK",
     .tab_order = 0},
    {.name = "Panel1", .kind = ControlKind::Panel, .bounds = {200, 152, 84, 35}, .tab_order = 1},
    {.name = "Panel2", .kind = ControlKind::Panel, .parent = "Panel1", .bounds = {1, 1, 82, 33}},
    {.name = "Image2",
     .kind = ControlKind::Picture,
     .parent = "Panel2",
     .bounds = {1, 1, 80, 31},
     .picture = "Image2"},
    // Later than the picture, so it lies above it.
    {.name = "NxHotLabel1",
     .kind = ControlKind::Custom,
     .parent = "Panel2",
     .bounds = {0, 0, 80, 31},
     .transparent = true,
     .class_name = "TNxHotLabel",
     .properties = &kDonation},
};

}  // namespace

const fw::FormSpec& InfoForm() {
  return kForm;
}
std::span<const fw::ControlSpec> InfoLayout() {
  return kLayout;
}

}  // namespace rf::resources
