#include "platform/web/WebShow.h"

#include <cmath>

#include "common/JsonText.h"
#include "common/NoteFormat.h"
#include "common/TraceLine.h"

namespace zirvo::web {

namespace {

// The program's place, as the loader sees it: zirvo.ini beside it. The scene
// is named on its command line.
constexpr const char* kProgramPath = "/zirvo";
constexpr const char* kSettingsPath = "/zirvo.ini";

// zirvo-render's default Delay and its longest run.
constexpr std::uint64_t kTraceStepUs = 100;
constexpr double kLongestTraceSeconds = 4000000000.0;

// Every pixel into the trace, up to a number of lines.
class TraceSink final : public PixelSink {
 public:
  explicit TraceSink(std::uint64_t maxLines) : maxLines_(maxLines) {}
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    if (lines_ == maxLines_)
      return;
    ++lines_;
    tools::AppendTraceLine(text_, x, y, colour);
  }
  std::string Take() { return std::move(text_); }

 private:
  std::uint64_t maxLines_;
  std::uint64_t lines_ = 0;
  std::string text_;
};

}  // namespace

bool ScreenUsable(const ScreenSize& screen) {
  return screen.ScreenWidth >= 1 && screen.ScreenWidth <= 16384 && screen.ScreenHeight >= 1 &&
         screen.ScreenHeight <= 16384;
}

WebShow::WebShow(const ShowInputs& inputs, std::uint64_t stepNs)
    : clock_(SimulatedClock::WithStepNs(stepNs)) {
  files_.Put(kSettingsPath, inputs.settings);
  files_.Put(kSceneName, inputs.scene);
  ProgramArgs args;
  args.hasProgram = true;
  args.program = kProgramPath;
  args.hasScene = true;
  args.scene = kSceneName;
  LoadEnvironment env;
  env.screen = inputs.screen;
  env.currentDirectory = "/";
  env.style = PathStyle::kPosix;
  env.opener = &files_;
  LoadScene(show_, args, env, clock_, &notes_);
  for (Note& note : notes_.notes) {
    if (note.file == kSettingsPath)
      note.file = kSettingsName;
  }
  tools::SortNotes(notes_);
  show_.random.Seed(inputs.seed);
}

std::string NotesJson(const Diagnostics& notes) {
  std::string json = "[";
  for (const Note& note : notes.notes) {
    if (json.size() > 1)
      json += ", ";
    json += tools::NoteObject(
        note, tools::JsonField("shown", tools::JsonString(tools::FormatNote(note)), true));
  }
  return json + "]";
}

LiveShow::LiveShow(const ShowInputs& inputs)
    : show_(inputs, kCalibratedDelayNs),
      screen_(inputs.screen.ScreenWidth, inputs.screen.ScreenHeight) {
  if (show_.Loaded())
    loop_ = std::make_unique<PacedShow>(show_.engine(), show_.clock());
}

std::string TraceShow(const ShowInputs& inputs, double seconds, std::uint64_t maxLines) {
  WebShow show(inputs, kTraceStepUs * 1000);
  if (!show.Loaded())
    return {};
  // As zirvo-render turns --seconds into its limit.
  const double limit = seconds < kLongestTraceSeconds ? seconds : kLongestTraceSeconds;
  const auto limitUs = static_cast<std::uint64_t>(std::llround(limit * 1e6));
  TraceSink sink(maxLines);
  RunOnClock(show.engine(), show.clock(), sink, limitUs);
  return sink.Take();
}

}  // namespace zirvo::web
