// The info dialog: a modeless about box owned by the application object,
// one at a time, that may outlive the picker run that opened it.
#pragma once

#include "framework/form.h"

namespace rf::info {

class TFrmInfo : public fw::Form {
 public:
  TFrmInfo();
  ~TFrmInfo() override;

  void FormCreate();
  void FormShow();
  void BtEndeClick();

 private:
  void LoadPictures();
};

// Set while an info dialog is on the screen.
extern bool InfoShowing;
// The info dialog created last, while it exists; nullptr otherwise.
extern TFrmInfo* FrmInfo;

// Creates the info dialog, owned by the application object; it shows
// itself on creation.
void CreateInfoDialog();
// Destroys an info dialog left open (module unload).
void DestroyInfoDialog();

}  // namespace rf::info
