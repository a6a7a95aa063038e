// The maker's addresses and notice line shown by the info dialog, all in
// one place.
#pragma once

#include <string>
#include <string_view>

namespace rf::info {

// The notice line is stored enciphered (DecodeHexText) under the maker's
// name as the key, so that it is not a plain string in the module.
inline constexpr std::string_view kNoticeCipher = "A5AD65B443C543CF7D89C846CF83AD63BC4BD633F4";
inline constexpr std::string_view kMakerName = "Example";

// The maker's web site, written without a scheme as the label shows it.
inline constexpr std::string_view kWebSite = "www.example.com";
// Where error reports go.
inline constexpr std::string_view kErrorMail = "fehler@example.com";
// The payment service and the maker's account there.
inline constexpr std::string_view kPaymentHost = "www.example.org";
inline constexpr std::string_view kPaymentAccount = "spenden@example.org";

// The notice line: kNoticeCipher deciphered.
std::string NoticeLine();
// "mailto:" and the error report address.
std::string ErrorMailURL();
// The donation link: the payment service's form with the amount, currency
// and the account, its at sign written %40 and its dots %2e.
std::string DonationURL();

}  // namespace rf::info
