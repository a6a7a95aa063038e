#include "checker/check_texts.h"

namespace rf::checker {
namespace {

// Joins the parts by appending only (GCC 12 misreads the front insertion
// of a literal-first "+" chain at -O3 as an overlapping copy).
template <typename... Parts>
std::string Cat(const Parts&... parts) {
  std::string s;
  (s.append(std::string_view(parts)), ...);
  return s;
}

std::string Quoted(std::string_view text) {
  return Cat("„", text, "“");
}

std::string Section(std::string_view section) {
  return Cat("[", section, "]");
}

std::string Line(std::string_view section, int i) {
  return Cat(Section(section), " Zeile ", std::to_string(i), ": ");
}

// What a key that yields no line costs its section.
constexpr std::string_view kNoLine =
    ", ergibt keine eigene Zeile, und dem Bereich fehlt so eine Zeile.";
constexpr std::string_view kTableKept = "; die Tabelle bleibt leer bzw. wie beim letzten Laden.";

}  // namespace

std::string FileUnreadable() {
  return "Die Datei lässt sich nicht lesen.";
}

std::string FileReadOnly() {
  return "Die Datei ist schreibgeschützt: Beim Schließen kann das Plug-in die gewählte "
         "Ausgabeart und Tabelle nicht zurückschreiben.";
}

std::string OutputKindUnknown(std::string_view value, bool missing) {
  return Cat(missing ? std::string("[Ausgabe] Typ fehlt")
                     : Cat("[Ausgabe] Typ=", Quoted(value), " nennt keine Ausgabeart"),
             "; der Dialog beginnt mit „Dezimal“. Möglich sind Dezimal, Benutzer1, "
             "Hexadezimal, Benutzer2, Entitie und Benutzer3.");
}

std::string TableUnknown(std::string_view value, bool missing) {
  return Cat(missing ? std::string("[Zeichensatz] Typ fehlt")
                     : Cat("[Zeichensatz] Typ=", Quoted(value), " nennt keine Tabelle"),
             "; der Dialog beginnt mit „ISO 8859“, „-3“. Möglich sind ANSI, ISO8859-1 bis "
             "ISO8859-16 (ohne Bindestrich nach ISO), CP437, CP850, Technik und Grafik.");
}

std::string TemplateTooLong(int k, std::size_t length) {
  return Cat("[Default] Typ", std::to_string(k), " hat ", std::to_string(length),
             " Zeichen; die Vorlage wird nach 30 Zeichen abgeschnitten.");
}

std::string ValueTooLong(std::string_view section, std::string_view key) {
  return Cat(Section(section), " ", Quoted(key),
             ": Der Wert ist länger als 1023 Zeichen; das Plug-in liest nur die ersten 1023.");
}

std::string SectionMissing(std::string_view section, int expected) {
  return Cat("Der Bereich ", Section(section), " fehlt; er braucht ", std::to_string(expected),
             " Zeilen. Die Tabelle bleibt leer bzw. wie beim letzten Laden.");
}

std::string SectionLineCount(std::string_view section, std::size_t lines, int expected) {
  return Cat("Der Bereich ", Section(section), " ergibt ", std::to_string(lines), " Zeilen statt ",
             std::to_string(expected), kTableKept);
}

std::string SectionRepeated(std::string_view section, std::size_t first_line) {
  return Cat("Der Bereich ", Section(section), " steht schon in Zeile ", std::to_string(first_line),
             "; dieser zweite wird nie gelesen.");
}

std::string KeyRepeated(std::string_view section, std::string_view key) {
  return Cat(Section(section), " Der Schlüssel ", Quoted(key),
             " steht weiter oben schon (Groß- und Kleinschreibung zählen nicht)", kNoLine);
}

std::string KeyEmpty(std::string_view section, std::string_view key) {
  return Cat(Section(section), " Der Schlüssel ", Quoted(key), " hat keinen Wert", kNoLine);
}

std::string KeyRemovesEarlier(std::string_view section, std::string_view key) {
  return Cat(Section(section), " Der Schlüssel ", Quoted(key),
             " hat keinen Wert und löscht die Zeile, die derselbe Schlüssel weiter oben ergab; "
             "dem Bereich fehlt so eine Zeile.");
}

std::string LineWithoutEquals(std::string_view section) {
  return Cat(Section(section), " Eine Zeile ohne „=“ wird übergangen und zählt nicht mit.");
}

std::string KeyListCut(std::string_view section) {
  return Cat(Section(section),
             " Die Schlüssel des Bereichs sind zusammen länger als 8192 Bytes: ab hier sieht das "
             "Plug-in keine Schlüssel mehr.");
}

std::string CommaCount(std::string_view section, int i, std::size_t commas, bool shown) {
  return Cat(
      Line(section, i), std::to_string(commas),
      " Kommas statt 5. Fehlende Felder bleiben leer, Felder nach dem sechsten werden "
      "nicht gelesen.",
      shown ? "" : " Die Meldung dazu erscheint, sobald die Zeilenzahl des Bereichs stimmt.");
}

std::string NumberNotNumber(std::string_view section, int i, std::string_view number) {
  return Cat(Line(section, i), Quoted(number),
             " ist keine Dezimalzahl; der Dialog gibt trotzdem „&#", number, ";“ aus.");
}

std::string NumberC1(std::string_view section, int i, int number) {
  const std::string n = std::to_string(number);
  return Cat(Line(section, i), "Die Zahl ", n,
             " ist ein C1-Steuerzeichen (128–159); Browser zeigen „&#", n,
             ";“ als Zeichen der Codepage 1252 an. Hier gehört die Unicode-Nummer hin.");
}

std::string NumberTooLong(std::string_view section, int i, std::string_view number) {
  return Cat(Line(section, i), "Die Zahl ", Quoted(number),
             " ist zu lang für die Felder: „&#nnnn;“ fasst 7 und „&#xhhhh;“ 8 Zeichen, der Rest "
             "wird abgeschnitten (höchstens 9999).");
}

std::string EntityTooLong(std::string_view section, int i, std::string_view entity) {
  return Cat(Line(section, i), "Der Entity-Name ", Quoted(entity),
             " ist länger als 8 Zeichen; „&name;“ wird nach 10 Zeichen abgeschnitten.");
}

std::string UserFormTooLong(std::string_view section, int i, int k, std::size_t length) {
  return Cat(Line(section, i), "Benutzerform ", std::to_string(k), " hat ", std::to_string(length),
             " Zeichen; sie wird nach 30 Zeichen abgeschnitten.");
}

std::string Summary(std::size_t problems, std::size_t messages) {
  if (problems == 0) return "Keine Probleme gefunden.";
  return Cat(std::to_string(problems), problems == 1 ? " Problem" : " Probleme", ", davon ",
             std::to_string(messages), messages == 1 ? " Meldung" : " Meldungen", " des Plug-ins.");
}

}  // namespace rf::checker
