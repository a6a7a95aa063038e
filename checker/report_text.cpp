#include "checker/report_text.h"

#include <cstdint>

#include "checker/check_texts.h"

namespace rf::checker {
namespace {

// Code points of 0x80..0x9F in code page 1252; 0 where it assigns none.
constexpr std::uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Control characters of the file shown as "\xNN", so a report never moves
// the terminal's cursor.
std::string Printable(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80 && u < 0xA0) {
      AppendUtf8(out, kHigh[u - 0x80] != 0 ? kHigh[u - 0x80] : 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::string FormatReport(const Report& report, std::string_view name) {
  std::string out;
  for (const Finding& f : report.findings) {
    std::string head(name);
    if (f.file_line != 0) head += ":" + std::to_string(f.file_line);
    out += Cp1252ToUtf8(head + ": " + Printable(f.text)) + "\n";
    if (!f.message.empty()) {
      // The message as its box shows it, line by line ("\n\r" and "\n" end
      // its lines).
      const std::string lead = "    Meldung „" + f.caption + "“: ";
      std::string_view rest = f.message;
      bool first = true;
      while (true) {
        const std::size_t end = rest.find('\n');
        const std::string_view part = rest.substr(0, end);
        out += Cp1252ToUtf8((first ? lead : std::string(lead.size() - 2, ' ')) + Printable(part)) +
               "\n";
        first = false;
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
        if (!rest.empty() && rest.front() == '\r') rest.remove_prefix(1);
      }
    }
  }
  out += Cp1252ToUtf8(Summary(report.findings.size(), report.Messages().size())) + "\n";
  return out;
}

}  // namespace rf::checker
