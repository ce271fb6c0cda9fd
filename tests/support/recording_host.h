#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conversion/conversion_host.h"

namespace tavrin::testing {

// A conversion host that shows two fixed folders (changeable by the test) and records
// everything the core asks of it, as lines such as "WriteInfo Form1.frm 0", "DoEvents",
// "Pointer 11", "Dir2_Change", "MessageBox 48 Konvertierungsfehler: <text>".
class RecordingHost : public ConversionHost {
 public:
  std::filesystem::path source;
  std::filesystem::path target;
  std::vector<std::string> events;
  bool record_lines = true;   // record the per-line WriteInfo calls too
  bool line_captions = true;  // what ShowsLineCaptions answers
  std::function<void()> on_do_events;  // runs inside DoEvents, as a nested event would
  std::vector<PassProgress> progress;  // every OnProgress, in order
  std::function<bool()> stop;          // what StopRequested answers (false without it)

  std::filesystem::path QuellPfad() override { return source; }
  std::filesystem::path ZielPfad() override { return target; }
  void WriteInfo(std::string_view text, std::int32_t wert) override {
    if (wert != 0 && !record_lines) return;
    events.push_back("WriteInfo " + std::string(text) + " " + std::to_string(wert));
  }
  bool ShowsLineCaptions() const override { return line_captions; }
  void DoEvents() override {
    events.push_back("DoEvents");
    if (on_do_events) on_do_events();
  }
  void SetMousePointer(int pointer) override { events.push_back("Pointer " + std::to_string(pointer)); }
  void Dir2_Change() override { events.push_back("Dir2_Change"); }
  int MessageBox(std::string_view text, int style, std::string_view title) override {
    events.push_back("MessageBox " + std::to_string(style) + " " + std::string(title) + ": " + std::string(text));
    return 1;
  }

  void OnProgress(const PassProgress& reported) override { progress.push_back(reported); }
  bool StopRequested() const override { return stop && stop(); }

  // The recorded events that start with `prefix`.
  std::vector<std::string> EventsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& e : events) {
      if (e.rfind(prefix, 0) == 0) found.push_back(e);
    }
    return found;
  }
};

}  // namespace tavrin::testing
