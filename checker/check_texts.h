// Every text the data file checker writes of its own, in German, as code
// page 1252 text like the module's. The messages the plug-in itself shows
// are chardata's (LineCountMessage, FieldCountMessage, ConfigWriteError).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rf::checker {

// The file as a whole.
std::string FileUnreadable();
std::string FileReadOnly();

// The settings.
std::string OutputKindUnknown(std::string_view value, bool missing);
std::string TableUnknown(std::string_view value, bool missing);
std::string TemplateTooLong(int k, std::size_t length);
std::string ValueTooLong(std::string_view section, std::string_view key);

// A character section.
std::string SectionMissing(std::string_view section, int expected);
std::string SectionLineCount(std::string_view section, std::size_t lines, int expected);
std::string SectionRepeated(std::string_view section, std::size_t first_line);
std::string KeyRepeated(std::string_view section, std::string_view key);
std::string KeyEmpty(std::string_view section, std::string_view key);
std::string KeyRemovesEarlier(std::string_view section, std::string_view key);
std::string LineWithoutEquals(std::string_view section);
std::string KeyListCut(std::string_view section);

// One line of a character section, "Zeile i" counted from 0 as the
// dialog counts.
std::string CommaCount(std::string_view section, int i, std::size_t commas, bool shown);
std::string NumberNotNumber(std::string_view section, int i, std::string_view number);
std::string NumberC1(std::string_view section, int i, int number);
std::string NumberTooLong(std::string_view section, int i, std::string_view number);
std::string EntityTooLong(std::string_view section, int i, std::string_view entity);
std::string UserFormTooLong(std::string_view section, int i, int k, std::size_t length);

// The closing line.
std::string Summary(std::size_t problems, std::size_t messages);

// Captions of the boxes the plug-in shows.
inline constexpr std::string_view kBadDataBoxCaption = "Fehler";
inline constexpr std::string_view kErrorBoxCaption = "Runefold";

}  // namespace rf::checker
