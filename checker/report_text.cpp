#include "checker/report_text.h"

#include <cstdint>

#include "chardata/cp1252.h"
#include "checker/check_texts.h"

namespace rf::checker {
namespace {

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

// Control characters of the file (C0, DEL, and the C1 codes that 1252
// leaves unassigned) shown as "\xNN", so a report never drives the terminal.
std::string Printable(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    const bool c1 = u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
    if (u < 0x20 || u == 0x7F || c1) {
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
    AppendUtf8(out, chardata::Cp1252ToUnicode(static_cast<unsigned char>(c)));
  }
  return out;
}

std::string FormatReport(const Report& report, std::string_view name) {
  std::string out;
  for (const Finding& f : report.findings) {
    std::string head(name);
    if (f.file_line != 0) {
      head += ':';
      head += std::to_string(f.file_line);
    }
    head += ": ";
    head += Printable(f.text);
    out += Cp1252ToUtf8(head);
    out += '\n';
    if (!f.message.empty()) {
      // The message as its box shows it, line by line ("\n\r" and "\n" end
      // its lines).
      const std::string lead = std::string("    Meldung „") + f.caption + "“: ";
      std::string_view rest = f.message;
      bool first = true;
      while (true) {
        const std::size_t end = rest.find('\n');
        const std::string_view part = rest.substr(0, end);
        std::string row = first ? lead : std::string(lead.size(), ' ');
        row += Printable(part);
        out += Cp1252ToUtf8(row);
        out += '\n';
        first = false;
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
        if (!rest.empty() && rest.front() == '\r') rest.remove_prefix(1);
      }
    }
  }
  out += Cp1252ToUtf8(Summary(report.findings.size(), report.Messages().size()));
  out += '\n';
  return out;
}

}  // namespace rf::checker
