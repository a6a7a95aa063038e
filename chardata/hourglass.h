// Shows the hourglass for as long as it lives: the default cursor comes
// back however the work ends.
#pragma once

#include "chardata/configuration_host.h"

namespace rf::chardata {

class HourglassScope {
 public:
  explicit HourglassScope(ConfigurationHost& host) : host_(host) { host_.SetHourglass(true); }
  ~HourglassScope() { host_.SetHourglass(false); }
  HourglassScope(const HourglassScope&) = delete;
  HourglassScope& operator=(const HourglassScope&) = delete;

 private:
  ConfigurationHost& host_;
};

}  // namespace rf::chardata
