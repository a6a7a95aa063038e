#include "info/Info.h"

#include <memory>

#include "framework/application.h"
#include "framework/controls.h"
#include "framework/graphic.h"
#include "framework/module.h"
#include "info/InfoTexts.h"
#include "resources/layouts.h"

namespace rf::info {

bool InfoShowing = false;
TFrmInfo* FrmInfo = nullptr;

TFrmInfo::TFrmInfo() : fw::Form(resources::InfoForm(), resources::InfoLayout()) {
  OnCreate = [this] { FormCreate(); };
  OnShow = [this] { FormShow(); };
  // Without a system menu only OK closes the dialog; should the window
  // system close it all the same, it must not stay hidden with
  // InfoShowing set, which would keep the picker from ever opening
  // another one.
  OnCloseQuery = [this] {
    BtEndeClick();
    return true;
  };
  Get<fw::Button>("BtEnde").OnClick = [this] { BtEndeClick(); };
  LoadPictures();
}

TFrmInfo::~TFrmInfo() {
  // The reference must not outlive the dialog.
  if (FrmInfo == this) FrmInfo = nullptr;
}

void TFrmInfo::LoadPictures() {
  // The picture drawn for the dialog's scale where the module has one.
  Get<fw::PictureControl>("Image2").LoadPicture(fw::ModuleHandle(), "Image2");
}

void TFrmInfo::FormCreate() {
  Get<fw::Label>("LblCopyright").SetText(NoticeLine());
}

void TFrmInfo::FormShow() {
  InfoShowing = true;
}

void TFrmInfo::BtEndeClick() {
  InfoShowing = false;
  // Destroyed once this click handler has returned.
  fw::Application::Instance().ReleaseLater(this);
}

void CreateInfoDialog() {
  auto form = std::make_unique<TFrmInfo>();
  TFrmInfo* dialog = form.get();
  fw::Application::Instance().Adopt(std::move(form));
  FrmInfo = dialog;
  dialog->RunCreate();
  dialog->Show();
}

void DestroyInfoDialog() {
  // The info dialog is the only form the application object owns.
  fw::Application::Instance().DestroyAll();
  FrmInfo = nullptr;
  InfoShowing = false;
}

}  // namespace rf::info
