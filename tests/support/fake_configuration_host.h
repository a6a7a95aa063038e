// A stand-in for the picker dialog where the configuration loader and the
// remembered choices meet it: it keeps the choices, records every caption,
// bad-data box, given-up result and cursor change, and answers the boxes as
// told. Shared by the tests, the benchmarks and the fuzz target.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chardata/configuration_host.h"

namespace rf::test {

struct FakeConfigurationHost : chardata::ConfigurationHost {
  using BoxAnswer = chardata::BoxAnswer;
  using TCharTableKind = chardata::TCharTableKind;

  int output_kind = 0;
  TCharTableKind shown = chardata::ctISO8859_3;  // the layout's table
  int show_calls = 0;
  std::map<int, std::pair<std::string, std::string>> captions;  // k -> item, label
  std::vector<std::string> messages;                            // texts of the boxes, in order
  // How the boxes are answered: `answers` in turn when it is not empty,
  // otherwise always `answer`.
  BoxAnswer answer = BoxAnswer::kClosed;
  std::vector<BoxAnswer> answers;
  int discarded_results = 0;  // DiscardResult calls
  std::vector<bool> cursor;   // every SetHourglass call
  std::string module;         // the module's path, the Windows way

  int OutputKindIndex() const override { return output_kind; }
  void SetOutputKindIndex(int index) override { output_kind = index; }
  TCharTableKind ShownTable() const override { return shown; }
  void ShowTable(TCharTableKind kind) override {
    shown = kind;
    ++show_calls;
  }
  void SetUserFormCaptions(int k, const std::string& item, const std::string& label) override {
    captions[k] = {item, label};
  }
  BoxAnswer ShowBadDataBox(const std::string& text) override {
    messages.push_back(text);
    return answers.empty() ? answer : answers[(messages.size() - 1) % answers.size()];
  }
  void DiscardResult() override { ++discarded_results; }
  void SetHourglass(bool on) override { cursor.push_back(on); }
  std::string PluginModuleFileName() const override { return module; }
};

}  // namespace rf::test
