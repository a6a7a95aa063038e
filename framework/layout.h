// Dialog layouts as data: one table of controls per dialog, with pixel
// positions at 96 dots per inch relative to the parent's client area.
#pragma once

#include <span>

namespace rf::fw {

enum class ControlKind {
  Label,
  Edit,
  Button,
  GroupBox,
  RadioGroup,
  Panel,
  TabControl,  // a tab control with pages
  TabPage,     // a page of the tab control named as its parent
  Picture,
  Icon,    // a static picture of an icon resource
  Custom,  // a class registered with Form::RegisterControlClass (class_name)
};

// Horizontal placement of a label's text.
enum class TextAlign { Left, Center, Right };

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

struct FontSpec {
  const char* name = nullptr;  // nullptr: the parent's font
  int height = 0;              // character height in pixels
  bool bold = false;
  bool underline = false;
  unsigned color = 0;  // COLORREF
};

struct ControlSpec {
  const char* name = "";
  ControlKind kind = ControlKind::Label;
  const char* parent = nullptr;  // nullptr: the form itself
  Bounds bounds;
  const char* caption = "";
  int tab_order = -1;  // position among the parent's tab stops; -1: none
  bool tab_stop = true;
  bool read_only = false;
  int max_length = 0;  // typing limit of an edit; 0: none
  int modal_result = 0;
  bool word_wrap = false;
  bool auto_height = false;      // a wrapping label sized to its text
  bool align_client = false;     // fills the parent's client area
  bool select_on_focus = false;  // edits: select all when tabbed to
  const char* items = nullptr;   // radio group items, separated by '\n'
  int columns = 1;
  int item_index = -1;
  // Tab controls: the least distance from the control's top to its pages,
  // so that a control laid over the right end of the row covers only tabs
  // and never a page; 0: what the system gives.
  int tab_row_height = 0;
  FontSpec font;
  const char* picture = nullptr;          // resource holding the picture property
  int cursor = 0;                         // custom cursor number; 0: default
  TextAlign alignment = TextAlign::Left;  // labels
  bool show_accel_char = true;  // labels: '&' marks an accelerator; false shows it as typed
  bool auto_size = false;       // labels: one line, the size follows the text and the font
  bool transparent = false;     // labels: what lies beneath shows through
  const char* hint = nullptr;   // text of the control's tooltip
  bool show_hint = false;       // the tooltip is shown
  // The class of a Custom control, and that class's own stored properties
  // (a structure the class defines).
  const char* class_name = nullptr;
  const void* properties = nullptr;
};

struct FormSpec {
  const char* name = "";
  const char* caption = "";
  int client_width = 0, client_height = 0;
  FontSpec font;
  const char* icon = nullptr;            // icon resource name
  const char* active_control = nullptr;  // focus when shown
  const char* default_button = nullptr;  // pressed by Enter
  const char* cancel_button = nullptr;   // pressed by Escape
  bool system_menu = true;
  bool centered = true;
};

}  // namespace rf::fw
