// Layout of the character picker: every control with its parent, pixel
// rectangle, caption, tab order and properties.
#include <array>

#include "resources/layouts.h"

namespace rf::resources {
namespace {

using fw::ControlKind;
using fw::ControlSpec;

constexpr fw::FontSpec kDialogFont{fw::kDialogFontName, fw::kDialogFontHeight};
constexpr fw::FontSpec kTabFont{fw::kDialogFontName, 8};
constexpr fw::FontSpec kArialFont{"Arial", 11};

// The picture on show is a tab stop right after its tab control, for the
// keyboard cursor.
constexpr ControlSpec Picture(const char* name, const char* page, int width, int height) {
  return {.name = name,
          .kind = ControlKind::Picture,
          .parent = page,
          .bounds = {0, 0, width, height},
          .tab_order = 0,
          .picture = name};
}

constexpr ControlSpec IsoPage(const char* name, const char* caption, int order) {
  return {.name = name,
          .kind = ControlKind::TabPage,
          .parent = "PCiso",
          .caption = caption,
          .tab_order = order};
}

constexpr ControlSpec IsoLabel(const char* name, const char* page, int width, int height,
                               const char* caption, bool auto_height = false) {
  return {.name = name,
          .kind = ControlKind::Label,
          .parent = page,
          .bounds = {296, 8, width, height},
          .caption = caption,
          .word_wrap = true,
          .auto_height = auto_height};
}

const fw::FormSpec kForm{
    .name = "TCharSet",
    .caption = "Erweiterter Zeichensatz für html",
    .client_width = 458,
    .client_height = 420,
    .font = kDialogFont,
    .icon = "MAINICON",
    .active_control = "EdRueck",
    .system_menu = false,
};

const ControlSpec kLayout[] = {
    {.name = "RGAusgabeTyp",
     .kind = ControlKind::RadioGroup,
     .bounds = {8, 0, 441, 57},
     .caption = "Rückgabe Typ:",
     .tab_order = 0,
     .items = "Dezimal &&#nnnn;\nBenutzer 1\nHexadezimal &&#xnnnn;\nBenutzer 2\nEntity "
              "&&name;\nBenutzer 3",
     .columns = 3,
     .item_index = 0},
    {.name = "GBAusgabeWert",
     .kind = ControlKind::GroupBox,
     .bounds = {8, 64, 441, 57},
     .caption = "Mögliche Ausgabe Wert:",
     .tab_order = 1},
    {.name = "LblDez", .parent = "GBAusgabeWert", .bounds = {8, 16, 60, 13}, .caption = "Dezimal:"},
    {.name = "LblHex",
     .parent = "GBAusgabeWert",
     .bounds = {152, 16, 70, 13},
     .caption = "Hexadezimal:"},
    {.name = "LblEntitie",
     .parent = "GBAusgabeWert",
     .bounds = {296, 16, 55, 13},
     .caption = "Entity:"},
    {.name = "LblUser1",
     .parent = "GBAusgabeWert",
     .bounds = {8, 38, 62, 13},
     .caption = "Benutzer 1:"},
    {.name = "LblUser2",
     .parent = "GBAusgabeWert",
     .bounds = {152, 38, 62, 13},
     .caption = "Benutzer 2:"},
    {.name = "LblUser3",
     .parent = "GBAusgabeWert",
     .bounds = {296, 38, 62, 13},
     .caption = "Benutzer 3:"},
    {.name = "EdDez",
     .kind = ControlKind::Edit,
     .bounds = {73, 80, 59, 16},
     .tab_order = 2,
     .tab_stop = false,
     .read_only = true},
    {.name = "EdHex",
     .kind = ControlKind::Edit,
     .bounds = {232, 80, 68, 16},
     .tab_order = 3,
     .read_only = true},
    {.name = "EdEntitie",
     .kind = ControlKind::Edit,
     .bounds = {360, 80, 80, 16},
     .tab_order = 4,
     .read_only = true},
    {.name = "EdUser1",
     .kind = ControlKind::Edit,
     .bounds = {73, 100, 83, 16},
     .tab_order = 5,
     .read_only = true},
    {.name = "EdUser2",
     .kind = ControlKind::Edit,
     .bounds = {217, 100, 83, 16},
     .tab_order = 6,
     .read_only = true},
    {.name = "EdUser3",
     .kind = ControlKind::Edit,
     .bounds = {360, 100, 80, 16},
     .tab_order = 7,
     .read_only = true},

    {.name = "PCChar",
     .kind = ControlKind::TabControl,
     .bounds = {8, 128, 441, 225},
     .tab_order = 8,
     .tab_row_height = 20,  // PInfo's height: the panel lies over the tab row only
     .font = kTabFont},
    {.name = "TSansi",
     .kind = ControlKind::TabPage,
     .parent = "PCChar",
     .caption = "ANSI",
     .tab_order = 0,
     .font = kArialFont},
    {.name = "TSiso",
     .kind = ControlKind::TabPage,
     .parent = "PCChar",
     .caption = "ISO 8859",
     .tab_order = 1},
    {.name = "TScp437",
     .kind = ControlKind::TabPage,
     .parent = "PCChar",
     .caption = "CP 437",
     .tab_order = 2},
    {.name = "TScp850",
     .kind = ControlKind::TabPage,
     .parent = "PCChar",
     .caption = "CP 850",
     .tab_order = 3},
    {.name = "TSTechnik",
     .kind = ControlKind::TabPage,
     .parent = "PCChar",
     .caption = "Technik",
     .tab_order = 4},
    {.name = "TSGrafik",
     .kind = ControlKind::TabPage,
     .parent = "PCChar",
     .caption = "Grafik",
     .tab_order = 5},
    Picture("IANSI", "TSansi", 289, 197),
    {.name = "PCiso",
     .kind = ControlKind::TabControl,
     .parent = "TSiso",
     .tab_order = 0,
     .align_client = true},
    IsoPage("TSiso1", "-1", 0),
    IsoPage("TSiso2", "-2", 1),
    IsoPage("TSiso3", "-3", 2),
    IsoPage("TSiso4", "-4", 3),
    IsoPage("TSiso5", "-5", 4),
    IsoPage("TSiso6", "-6", 5),
    IsoPage("TSiso7", "-7", 6),
    IsoPage("TSiso8", "-8", 7),
    IsoPage("TSiso9", "-9", 8),
    IsoPage("TSiso10", "-10", 9),
    IsoPage("TSiso11", "-11", 10),
    IsoPage("TSiso13", "-13", 11),
    IsoPage("TSiso14", "-14", 12),
    IsoPage("TSiso15", "-15", 13),
    IsoPage("TSiso16", "-16", 14),
    Picture("IISO8859_1", "TSiso1", 289, 169),
    IsoLabel("Lbl8859_1", "TSiso1", 129, 105,
             "Latin-1 Western European. Westeuropäisch, für westeuropäische Sonderzeichen, der "
             "gebräuchlichste ISO-Zeichensatz"),
    Picture("IISO8859_2", "TSiso2", 289, 169),
    IsoLabel("Lbl8859_2", "TSiso2", 129, 97,
             "Latin-2 Eastern European. Osteuropäisch., für zentral- und osteuropäische "
             "Sonderzeichen"),
    Picture("IISO8859_3", "TSiso3", 289, 169),
    IsoLabel("Lbl8859_3", "TSiso3", 121, 105,
             "Latin-3 Southern European. Südeuropäisch und Esperanto, für südeuropäische und "
             "türkische Sonderzeichen"),
    Picture("IISO8859_4", "TSiso4", 289, 169),
    IsoLabel("Lbl8859_4", "TSiso4", 129, 105,
             "Latin-4 Northern European.Baltisch, für baltische (und skandinavische) "
             "Sonderzeichen"),
    Picture("IISO8859_5", "TSiso5", 289, 169),
    IsoLabel("Lbl8859_5", "TSiso5", 49, 73, "Cyrillic Kyrillisch"),
    Picture("IISO8859_6", "TSiso6", 289, 169),
    IsoLabel("Lbl8859_6", "TSiso6", 73, 33, "Arabic Arabisch"),
    Picture("IISO8859_7", "TSiso7", 289, 169),
    IsoLabel("Lbl8859_7", "TSiso7", 73, 33, "Greek Griechisch"),
    Picture("IISO8859_8", "TSiso8", 289, 169),
    IsoLabel("Lbl8859_8", "TSiso8", 73, 33, "Hebrew Hebräisch"),
    Picture("IISO8859_9", "TSiso9", 289, 169),
    IsoLabel("Lbl8859_9", "TSiso9", 129, 41, "Latin-5 Turkish Türkisch. Weitestgehend wie Latin-1"),
    Picture("IISO8859_10", "TSiso10", 289, 169),
    IsoLabel("Lbl8859_10", "TSiso10", 121, 57, "Latin-6 Nordic Nordisch. Variation von Latin-4"),
    Picture("IISO8859_11", "TSiso11", 289, 169),
    IsoLabel("Lbl8859_11", "TSiso11", 97, 33, "Thai"),
    Picture("IISO8859_13", "TSiso13", 289, 169),
    IsoLabel("Lbl8859_13", "TSiso13", 89, 65, "Latin-7 Baltic Baltisch (ersetzt Latin-4 und -6)"),
    Picture("IISO8859_14", "TSiso14", 289, 169),
    IsoLabel("Lbl8859_14", "TSiso14", 97, 33, "Latin-8 Celtic Keltisch"),
    Picture("IISO8859_15", "TSiso15", 289, 169),
    IsoLabel("Lbl8859_15", "TSiso15", 121, 13,
             "Latin-9 Western European Westeuropäisch mit Eurozeichen. Eine leichte Veränderung "
             "des Latin-1 Standards.",
             true),
    Picture("IISO8859_16", "TSiso16", 289, 169),
    IsoLabel("Lbl8859_16", "TSiso16", 121, 13,
             "Latin-10 Southern European Südosteuropäisch mit Eurozeichen. Variation "
             "(Kombination) von Latin-2 und Latin-1.",
             true),
    Picture("ICP734", "TScp437", 361, 197),
    Picture("ICP850", "TScp850", 361, 197),
    Picture("ITechnik", "TSTechnik", 91, 197),
    Picture("IGrafik", "TSGrafik", 199, 197),

    {.name = "PInfo", .kind = ControlKind::Panel, .bounds = {299, 128, 150, 20}, .tab_order = 9},
    {.name = "LblZeichenNr",
     .parent = "PInfo",
     .bounds = {12, 3, 76, 13},
     .caption = "Zeichen Nr.:"},
    {.name = "EdZeichenNr",
     .kind = ControlKind::Edit,
     .parent = "PInfo",
     .bounds = {93, 1, 30, 18},
     .tab_order = 0},

    {.name = "GBBInfo",
     .kind = ControlKind::GroupBox,
     .bounds = {8, 352, 441, 62},
     .tab_order = 10},
    {.name = "LblRueck",
     .parent = "GBBInfo",
     .bounds = {8, 12, 89, 14},
     .caption = "Rückgabe Wert:"},
    {.name = "EdRueck",
     .kind = ControlKind::Edit,
     .parent = "GBBInfo",
     .bounds = {90, 10, 343, 18},
     .tab_order = 0,
     .max_length = 100},
    {.name = "BtnOK",
     .kind = ControlKind::Button,
     .parent = "GBBInfo",
     .bounds = {90, 34, 70, 20},
     .caption = "OK",
     .tab_order = 1,
     .modal_result = 1},
    {.name = "BtnAbbruch",
     .kind = ControlKind::Button,
     .parent = "GBBInfo",
     .bounds = {229, 34, 70, 20},
     .caption = "Abbruch",
     .tab_order = 2,
     .modal_result = 2},
    {.name = "BtnInfo",
     .kind = ControlKind::Button,
     .parent = "GBBInfo",
     .bounds = {364, 34, 70, 20},
     .caption = "Info",
     .tab_order = 3},
};

}  // namespace

const fw::FormSpec& CharSetForm() {
  return kForm;
}
std::span<const fw::ControlSpec> CharSetLayout() {
  return kLayout;
}

}  // namespace rf::resources
