// zirvo-render: runs a scene headless on a simulated clock and writes its last
// frame (PNG), an animation (GIF) and the trace of every pixel set.
//
// Exit status: 0 done; 1 an output file could not be written; 2 bad usage, or
// the scene did not load.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "cli/ToolLoad.h"
#include "engine/Show.h"
#include "engine/SimulatedClock.h"
#include "image/Picture.h"
#include "image/PngWriter.h"
#include "render/GifRecorder.h"
#include "render/Progress.h"
#include "render/RenderOptions.h"
#include "render/RenderSink.h"
#include "render/TraceWriter.h"
#include "report/NoteFormat.h"

namespace zirvo::tools {
namespace {

constexpr int kDone = 0;
constexpr int kOutputFailed = 1;
constexpr int kBadUsage = 2;

int UsageError(const std::string& message) {
  std::fprintf(stderr, "zirvo-render: error: %s\n(zirvo-render --help shows the options)\n",
               Printable(message).c_str());
  return kBadUsage;
}

int OutputError(const std::string& path, const std::string& what) {
  std::fprintf(stderr, "zirvo-render: error: %s: %s\n", Printable(path).c_str(), what.c_str());
  return kOutputFailed;
}

// "cannot be created (No such file or directory)": the system's reason.
std::string CannotCreate(int error) {
  return std::string("cannot be created (") + std::strerror(error) + ")";
}

// The loader's reasons, like a compiler's errors.
int LoadError(const Diagnostics& diag, const RenderOptions& options) {
  const std::string& scene = options.scene;
  bool told = false;
  for (const Note& note : diag.notes) {
    if (note.severity != Severity::kError)
      continue;
    std::fputs(FormatNote(note).c_str(), stderr);
    told = true;
  }
  if (!told) {
    std::fprintf(stderr, "%s: error: the scene does not load\n", Printable(scene).c_str());
  }
  const std::string settings = options.settings ? "--settings " + *options.settings + " " : "";
  std::fprintf(stderr, "zirvo-render: %s does not load (zirvo-check %s%s tells more)\n",
               Printable(scene).c_str(), Printable(settings).c_str(), Printable(scene).c_str());
  return kBadUsage;
}

int Render(const RenderOptions& options, const char* argv0) {
  const auto wallStart = std::chrono::steady_clock::now();

  ToolLoad load(RealProgramPath(argv0), options.scene, options.settings, options.screen);
  SimulatedClock clock(options.delayUs);
  Show show;
  Diagnostics diag;
  const int loaded = LoadScene(show, load.Args(), load.Environment(), clock, &diag);
  load.NameSettingsFile(diag, show.scene);
  if (loaded == 0 || show.engine == nullptr)
    return LoadError(diag, options);
  show.random.Seed(options.seed);

  // Outputs are opened before the run, so that a bad path fails at once.
  std::unique_ptr<TraceWriter> trace;
  if (options.trace) {
    trace = std::make_unique<TraceWriter>(*options.trace);
    if (!trace->Ok())
      return OutputError(*options.trace, CannotCreate(trace->OpenError()));
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> png(nullptr, &std::fclose);
  if (options.png) {
    png.reset(std::fopen(options.png->c_str(), "wb"));
    if (!png)
      return OutputError(*options.png, CannotCreate(errno));
  }
  Picture frame(options.screen.ScreenWidth, options.screen.ScreenHeight);
  std::unique_ptr<GifRecorder> gif;
  if (options.gif) {
    gif = std::make_unique<GifRecorder>(*options.gif, frame, options.fps);
    if (!gif->Ok())
      return OutputError(*options.gif, gif->Error());
    gif->OnClock(clock.NowUs());
    GifRecorder* recorder = gif.get();
    clock.Watch([recorder](std::uint64_t nowUs) { recorder->OnClock(nowUs); });
  }

  RenderSink sink(frame, trace.get());
  Progress progress(options.limitUs, Progress::StderrIsTerminal());
  const SimulatedRun run = RunOnClock(*show.engine, clock, sink, options.limitUs,
                                      [&] { progress.Update(clock.NowUs()); });
  progress.Done();

  int status = kDone;
  if (gif && !gif->Finish(clock.NowUs()))
    status = OutputError(*options.gif, gif->Error());
  if (png) {
    std::string error;
    if (!WritePng(frame, png.get(), error))
      status = OutputError(*options.png, error);
    if (std::fclose(png.release()) != 0 && status == kDone) {
      status = OutputError(*options.png, "cannot be written");
    }
  }
  if (trace && !trace->Close())
    status = OutputError(*options.trace, "cannot be written");

  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  std::fprintf(
      stderr, "zirvo-render: %llu passes, %llu pixels, %.3f simulated s (%s), %.2f s wall\n",
      static_cast<unsigned long long>(run.passes), static_cast<unsigned long long>(sink.Pixels()),
      static_cast<double>(clock.NowUs()) / 1e6,
      run.endedByItself ? "the show ended by itself" : "time limit reached", wall);
  return status;
}

}  // namespace
}  // namespace zirvo::tools

int main(int argc, char** argv) {
  using namespace zirvo::tools;
  const ParsedRenderOptions parsed = ParseRenderOptions(argc, argv);
  if (!parsed.error.empty())
    return UsageError(parsed.error);
  if (parsed.options.help) {
    std::fputs(kRenderUsage, stdout);
    return kDone;
  }
  return Render(parsed.options, argv[0]);
}
