#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "check/CheckResult.h"
#include "check/KindSummary.h"
#include "report/NoteFormat.h"

namespace zirvo::tools {

namespace {

std::string Plural(std::size_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

const Note* FirstError(const Diagnostics& diag) {
  for (const Note& note : diag.notes) {
    if (note.severity == Severity::kError)
      return &note;
  }
  return nullptr;
}

std::string Verdict(const CheckResult& r) {
  const std::string name = Printable(r.loaded.scenePath.empty() ? r.scene : r.loaded.scenePath);
  if (r.loads) {
    std::string line = name + ": loads";
    const std::size_t warnings = r.Count(Severity::kWarning);
    line += warnings == 0 ? " without warnings" : ", with " + Plural(warnings, "warning");
    return line + "\n";
  }
  std::string line = Printable(r.scene) + ": does not load";
  if (const Note* error = FirstError(r.diag)) {
    line += ": ";
    if (!error->file.empty()) {
      line += Printable(error->file);
      if (error->line > 0) {
        line += " line " + std::to_string(error->line) + " (\"" + Printable(error->text) + "\")";
      }
      line += ": ";
    }
    line += Printable(error->message);
  }
  return line + "\n";
}

std::string ScreenLine(const CheckResult& r) {
  const Settings& s = r.loaded.settings;
  const ScreenMap& m = r.loaded.map;
  char text[256];
  if (m.Scaling != 0) {
    std::snprintf(text, sizeof text,
                  "screen: virtual %dx%d on physical %dx%d, scaled%s by %.6g x %.6g, offset (%d, "
                  "%d)\n",
                  s.VirtWidth, s.VirtHeight, r.loaded.screen.ScreenWidth,
                  r.loaded.screen.ScreenHeight, s.UniformScale != 0 ? " uniformly" : "", m.ScaleX,
                  m.ScaleY, m.OffsetX, m.OffsetY);
  } else {
    std::snprintf(text, sizeof text,
                  "screen: virtual %dx%d on physical %dx%d, not scaled, offset (%d, %d)\n",
                  s.VirtWidth, s.VirtHeight, r.loaded.screen.ScreenWidth,
                  r.loaded.screen.ScreenHeight, m.OffsetX, m.OffsetY);
  }
  return text;
}

std::string SettingsLine(const CheckResult& r) {
  const Settings& s = r.loaded.settings;
  std::string line = "settings: " + Printable(r.settingsPath) + " (buffer " +
                     std::to_string(s.BufferNodes) + " points, wait ";
  line += s.WaitCount == 0 ? std::string("calibrated at start-up") : std::to_string(s.WaitCount);
  return line + ")\n";
}

// A table whose columns are as wide as their widest cell; numbers right-aligned.
class Table {
 public:
  explicit Table(std::vector<std::string> headings) { rows_.push_back(std::move(headings)); }
  void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
  std::string Text(std::size_t numericColumns) const {
    std::vector<std::size_t> widths(rows_.front().size(), 0);
    for (const auto& row : rows_) {
      for (std::size_t c = 0; c < row.size(); ++c)
        widths[c] = std::max(widths[c], row[c].size());
    }
    std::string out;
    for (const auto& row : rows_) {
      std::string line = " ";
      for (std::size_t c = 0; c < row.size(); ++c) {
        const std::string pad(widths[c] - row[c].size(), ' ');
        line += ' ';
        line += c < numericColumns ? pad + row[c] : row[c] + pad;
      }
      while (!line.empty() && line.back() == ' ')
        line.pop_back();
      out += line + "\n";
    }
    return out;
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

std::string KindsTable(const SpecTable& specs) {
  if (specs.SpecCount == 0)
    return "kinds: none\n";
  // Numbers first (right-aligned), then the words.
  Table table({"kind", "start", "stop", "n", "p", "nv", "bs", "dt", "m", "v", "colour",
               "start point", "target"});
  for (int i = 0; i < specs.SpecCount; ++i) {
    const SwirlSpec& k = specs[i];
    table.Add({std::to_string(i + 1), std::to_string(k.start),
               k.stop == 0 ? std::string("none") : std::to_string(k.stop), std::to_string(k.n),
               std::to_string(k.p), std::to_string(k.nv), std::to_string(k.bs),
               std::to_string(k.dt), std::to_string(k.m), ShortReal(k.v), ColourDescription(k),
               StartPointDescription(k), TargetDescription(k)});
  }
  return "kinds: " + std::to_string(specs.SpecCount) + "\n" + table.Text(10);
}

}  // namespace

std::string HumanReport(const CheckResult& r) {
  std::string out;
  for (const Note& note : r.diag.notes)
    out += FormatNote(note);
  if (!r.diag.notes.empty())
    out += "\n";
  out += Verdict(r);
  if (!r.loads)
    return out;
  out += SettingsLine(r);
  out += ScreenLine(r);
  out += KindsTable(r.loaded.specs);
  out += "end: " + r.end.explanation + "\n";
  return out;
}

}  // namespace zirvo::tools
