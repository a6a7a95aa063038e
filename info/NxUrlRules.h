// What a hot-link label accepts as a URL, its default URL and its error
// messages. Kept apart from the window so the rules can be checked anywhere.
#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rf::info {

// A URL the label refuses, or one the shell could not open.
class ENxURLError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Tried in this order. "mailto" has no colon and "file:" no slashes, so a
// bare "mailto" passes and so does any "file:" form.
inline constexpr std::array<std::string_view, 5> kUrlPrefixes = {"http://", "https://", "mailto",
                                                                 "file:", "ftp://"};

// The local machine's root page over http.
inline constexpr std::string_view kDefaultURL = "http://localhost/";

inline constexpr std::string_view kProtocolMessage = "Protocol not recognised for URL \"%s\"";
inline constexpr std::string_view kAccessMessage = "Can't access URL \"%s\"";

// The message with the URL in place of its %s.
std::string UrlMessage(std::string_view pattern, std::string_view url);

// True when the URL starts with a recognised prefix (the letters a to z in
// any case) or is empty.
bool IsAcceptedURL(std::string_view url);

// Raises ENxURLError("Protocol not recognised ...") for a URL that
// IsAcceptedURL refuses.
void CheckURL(std::string_view url);

}  // namespace rf::info
