#include "platform/sdl-saver/SaverLoader.h"

#include <cstdio>

#include "cli/ToolLoad.h"
#include "report/NoteFormat.h"

namespace zirvo::saver {

namespace {

std::string Plural(std::size_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

std::string Report(const std::string& scene, bool loaded, const Diagnostics& diag, bool allNotes) {
  std::string text;
  std::size_t warnings = 0;
  for (const Note& note : diag.notes) {
    warnings += note.severity == Severity::kWarning ? 1 : 0;
    if (allNotes || note.severity == Severity::kError)
      text += FormatNote(note);
  }
  const std::string name = Printable(scene);
  if (!loaded) {
    text += "zirvo-saver: " + name + " does not load (zirvo-check " + name + " tells more)\n";
  } else if (allNotes) {
    text += "zirvo-saver: " + name + ": loads" +
            (warnings == 0 ? " without warnings" : ", with " + Plural(warnings, "warning")) + "\n";
  }
  return text;
}

}  // namespace

bool SaverLoader::Load(const std::string& scene, const ScreenSize& size, Show& show,
                       ShowTime& time) {
  ToolLoad load(programPath_, scene, settings_, size);
  Diagnostics diag;
  const bool loaded = LoadScene(show, load.Args(), load.Environment(), time, &diag) == 1;
  load.NameSettingsFile(diag, show.scene);
  SortNotes(diag);
  const std::string report = Report(scene, loaded, diag, allNotes_);
  std::string& last = reported_[scene];
  if (report != last) {
    std::fputs(report.c_str(), stderr);
    std::fflush(stderr);
    last = report;
  }
  return loaded;
}

std::string SaverLoader::SettingsPathFor(const std::string& scene) const {
  return ToolLoad(programPath_, scene, settings_, ScreenSize{2, 2}).SettingsPath();
}

}  // namespace zirvo::saver
