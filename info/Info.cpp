#include "info/Info.h"

#include "framework/application.h"

namespace rf::info {

bool InfoShowing = false;
fw::Form* FrmInfo = nullptr;

void CreateInfoDialog() {}

void DestroyInfoDialog() {
  fw::Application::Instance().DestroyAll();
  FrmInfo = nullptr;
  InfoShowing = false;
}

}  // namespace rf::info
