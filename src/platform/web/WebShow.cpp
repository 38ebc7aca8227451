#include "platform/web/WebShow.h"

#include <algorithm>
#include <cmath>

#include "report/JsonText.h"
#include "report/NoteFormat.h"
#include "report/TraceLine.h"

namespace zirvo::web {

namespace {

// The program's place, as the loader sees it: zirvo.ini beside it. The scene
// is named on its command line.
constexpr const char* kProgramPath = "/zirvo";
constexpr const char* kSettingsPath = "/zirvo.ini";

// Every pixel into the trace, up to a number of lines.
class TraceSink final : public PixelSink {
 public:
  explicit TraceSink(std::uint64_t maxLines) : maxLines_(maxLines) {}
  void SetPixel(std::int32_t x, std::int32_t y, COLORREF colour) override {
    if (lines_ == maxLines_)
      return;
    ++lines_;
    AppendTraceLine(text_, x, y, colour);
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
  SortNotes(notes_);
  show_.random.Seed(inputs.seed);
}

std::string NotesJson(const Diagnostics& notes) {
  std::string json = "[";
  for (const Note& note : notes.notes) {
    if (json.size() > 1)
      json += ", ";
    json += NoteObject(note, JsonField("shown", JsonString(FormatNote(note)), true));
  }
  return json + "]";
}

LiveShow::LiveShow(const ShowInputs& inputs, PixelSink& screen, NanosecondClock& clock)
    : show_(inputs, kCalibratedDelayNs),
      screen_(screen),
      pacer_(clock, FramePacer::kDefaultFrameNs) {
  if (show_.Loaded()) {
    paced_.emplace(show_.engine(), show_.clock());
    pacer_.SetShows({this});
  }
}

FrameProgress LiveShow::RunFrame(std::uint64_t realNs, std::uint64_t stepNs,
                                 const FrameLimit& limit, NanosecondClock& clock) {
  return paced_->Run(screen_, realNs, stepNs, limit, clock);
}

std::string TraceShow(const ShowInputs& inputs, double seconds, std::uint64_t maxLines) {
  WebShow show(inputs, kTraceDelayUs * 1000);
  if (!show.Loaded())
    return {};
  // As zirvo-render turns --seconds into its limit.
  const double limit = std::min(seconds, SimulatedClock::kLongestSeconds);
  const auto limitUs = static_cast<std::uint64_t>(std::llround(limit * 1e6));
  TraceSink sink(maxLines);
  RunOnClock(show.engine(), show.clock(), sink, limitUs);
  return sink.Take();
}

}  // namespace zirvo::web
