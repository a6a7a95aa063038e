#include "info/InfoTexts.h"

#include "chardata/text_utils.h"

namespace rf::info {
namespace {

std::string EscapeAccount(std::string_view account) {
  std::string out;
  for (char c : account) {
    if (c == '@')
      out += "%40";
    else if (c == '.')
      out += "%2e";
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string NoticeLine() {
  return chardata::DecodeHexText(kNoticeCipher, kMakerName);
}

std::string ErrorMailURL() {
  return "mailto:" + std::string(kErrorMail);
}

std::string DonationURL() {
  return "https://" + std::string(kPaymentHost) +
         "/cgi-bin/webscr?cmd=_xclick&business=" + EscapeAccount(kPaymentAccount) +
         "&item_name=Runefold&amount=9%2e99&no_shipping=0&no_note=1&tax=0&currency_code=EUR"
         "&lc=DE&bn=PP%2dDonationsBF&charset=UTF%2d8";
}

}  // namespace rf::info
