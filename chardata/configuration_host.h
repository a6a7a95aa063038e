// What the configuration loader and the remembered choices need of the
// picker dialog. The dialog implements it over its controls; tests use a
// recording fake.
#pragma once

#include <string>

#include "chardata/char_table_kind.h"

namespace rf::chardata {

// How a bad-data box was left.
enum class BoxAnswer {
  kConfirmed,  // its OK button, Enter or Escape
  kClosed,     // the window's close command
};

class ConfigurationHost {
 public:
  virtual ~ConfigurationHost() = default;

  // Selected item of the output kind radio group, 0..5.
  virtual int OutputKindIndex() const = 0;
  virtual void SetOutputKindIndex(int index) = 0;

  // The table whose tab sheet is on show (for the ISO tab: the inner tab's).
  virtual TCharTableKind ShownTable() const = 0;
  // Makes the table's tab sheet active; for an ISO table the outer ISO tab
  // and then the inner one, for the others the outer tab only.
  virtual void ShowTable(TCharTableKind kind) = 0;

  // Relabels user form k (1..3): its radio item and its field label.
  virtual void SetUserFormCaptions(int k, const std::string& item_caption,
                                   const std::string& label_caption) = 0;

  // The bad-data box: captioned "Fehler", error icon, one OK button that is
  // both default and cancel button.
  virtual BoxAnswer ShowBadDataBox(const std::string& text) = 0;
  // The user confirmed a bad-data box: the run's result is given up, as
  // the dialog's cancel does (empty text, nothing to insert).
  virtual void DiscardResult() = 0;

  // Screen cursor: hourglass (true) or the default cursor (false).
  virtual void SetHourglass(bool on) = 0;

  // Full path of the plug-in module itself.
  virtual std::string PluginModuleFileName() const = 0;
};

}  // namespace rf::chardata
