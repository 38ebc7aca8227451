// zirvo-render: runs a scene headless on a simulated clock and writes its last
// frame (PNG), animations (GIF, WebP), a video, raw frames and the trace of
// every pixel set.
//
// Exit status: 0 done; 1 an output file could not be written to the end; 2 bad
// usage, an output file that cannot be created, or the scene did not load.
#include <algorithm>
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
#include "render/FrameCapture.h"
#include "render/GifRecorder.h"
#include "render/PartialFile.h"
#include "render/Progress.h"
#include "render/RawFrames.h"
#include "render/RenderOptions.h"
#include "render/RenderSink.h"
#include "render/TraceWriter.h"
#include "render/VideoWriter.h"
#include "render/WebpWriter.h"
#include "report/NoteFormat.h"

namespace zirvo::tools {
namespace {

constexpr int kDone = 0;
constexpr int kOutputFailed = 1;
constexpr int kBadUsage = 2;
// Simulated time run between two looks at whether an output has failed.
constexpr std::uint64_t kStretchUs = 100'000;

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

// A file that cannot be made is a command line that cannot be carried out.
int CreateError(const std::string& path, const std::string& what) {
  std::fprintf(stderr, "zirvo-render: error: %s: %s\n", Printable(path).c_str(), what.c_str());
  return kBadUsage;
}

// The frame outputs asked for, each opened and added to the capture; the exit
// status of the first that cannot be opened, or kDone.
struct FrameOutputs {
  std::unique_ptr<RawFrames> raw;
  std::unique_ptr<WebpWriter> webp;
  std::unique_ptr<VideoWriter> video;
};

int OpenFrameOutputs(const RenderOptions& options, double fps, FrameOutputs& outputs,
                     FrameCapture& capture) {
  const std::int32_t width = options.screen.ScreenWidth;
  const std::int32_t height = options.screen.ScreenHeight;
  if (options.webp) {
    outputs.webp = std::make_unique<WebpWriter>(*options.webp, width, height, fps, options.limitUs);
    if (!outputs.webp->Ok())
      return CreateError(*options.webp, outputs.webp->Error());
    capture.Add(*outputs.webp);
  }
  if (options.video) {
    outputs.video =
        std::make_unique<VideoWriter>(*options.video, *VideoCodecFor(*options.video), width, height,
                                      fps, options.quality, options.fullChroma);
    if (!outputs.video->Ok())
      return CreateError(*options.video, outputs.video->Error());
    capture.Add(*outputs.video);
  }
  // Last: a named pipe's open waits for its reader.
  if (options.frames) {
    outputs.raw = std::make_unique<RawFrames>(*options.frames);
    if (!outputs.raw->Ok())
      return CreateError(*options.frames, outputs.raw->Error());
    capture.Add(*outputs.raw);
    if (!options.quiet) {
      std::fprintf(stderr,
                   "zirvo-render: raw frames: %dx%d, 3 bytes a pixel (RGB), %d bytes a frame, "
                   "%g frames a second\n",
                   width, height, width * height * 3, fps);
    }
  }
  return kDone;
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

  // Outputs are opened before the run, so that a bad path fails at once. Each
  // file is written under a temporary name and put in place once complete.
  std::optional<PartialFile> traceFile;
  std::unique_ptr<TraceWriter> trace;
  if (options.trace) {
    traceFile.emplace(*options.trace);
    if (!traceFile->Ok())
      return CreateError(*options.trace, traceFile->Error());
    trace = std::make_unique<TraceWriter>(traceFile->Path());
    if (!trace->Ok())
      return CreateError(*options.trace, CannotCreate(trace->OpenError()));
  }
  std::optional<PartialFile> pngFile;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> png(nullptr, &std::fclose);
  if (options.png) {
    pngFile.emplace(*options.png);
    if (!pngFile->Ok())
      return CreateError(*options.png, pngFile->Error());
    png.reset(std::fopen(pngFile->Path().c_str(), "wb"));
    if (!png)
      return CreateError(*options.png, CannotCreate(errno));
  }
  Picture frame(options.screen.ScreenWidth, options.screen.ScreenHeight);
  std::optional<PartialFile> gifFile;
  std::unique_ptr<GifRecorder> gif;
  if (options.gif) {
    gifFile.emplace(*options.gif);
    if (!gifFile->Ok())
      return CreateError(*options.gif, gifFile->Error());
    gif = std::make_unique<GifRecorder>(gifFile->Path(), frame,
                                        options.fps.value_or(RenderOptions::kGifFps));
    if (!gif->Ok())
      return CreateError(*options.gif, gif->Error());
  }
  FrameCapture capture(frame, options.fps.value_or(RenderOptions::kFrameFps), options.limitUs);
  FrameOutputs frameOutputs;
  if (const int opened = OpenFrameOutputs(options, options.fps.value_or(RenderOptions::kFrameFps),
                                          frameOutputs, capture);
      opened != kDone) {
    return opened;
  }

  RenderSink sink(frame, trace.get());
  auto onClock = [&](std::uint64_t nowUs) {
    if (gif)
      gif->OnClock(nowUs);
    capture.OnClock(nowUs, sink.Pixels());
  };
  onClock(clock.NowUs());
  clock.Watch(onClock);

  // The run goes in short stretches so that a frame output that fails (a
  // reader that went away) ends it early; the stretches make exactly the
  // passes of one run to the limit.
  Progress progress(options.limitUs, !options.quiet && Progress::StderrIsTerminal());
  SimulatedRun run;
  for (;;) {
    const std::uint64_t untilUs = std::min(options.limitUs, clock.NowUs() + kStretchUs);
    const SimulatedRun stretch = RunOnClock(*show.engine, clock, sink, untilUs, [&] {
      progress.Update(clock.NowUs(), capture.FramesTaken());
    });
    run.passes += stretch.passes;
    run.endedByItself = stretch.endedByItself;
    if (run.endedByItself || clock.NowUs() >= options.limitUs || capture.Failed() != nullptr)
      break;
  }
  progress.Done();
  // A run cut short completes none of its files: each would be shorter than asked.
  const FrameWriter* cutShort = capture.Failed();
  int status = kDone;
  if (cutShort != nullptr) {
    status = OutputError(cutShort->Name(), cutShort->Error());
  } else {
    if (gif) {
      if (!gif->Finish(clock.NowUs()))
        status = OutputError(*options.gif, gif->Error());
      else if (!gifFile->Commit())
        status = OutputError(*options.gif, gifFile->Error());
    }
    if (FrameWriter* failed = capture.Finish(run.endedByItself, sink.Pixels()))
      status = OutputError(failed->Name(), failed->Error());
    if (png) {
      std::string error;
      if (!WritePng(frame, png.get(), error))
        status = OutputError(*options.png, error);
      else if (std::fclose(png.release()) != 0)
        status = OutputError(*options.png, "cannot be written");
      else if (!pngFile->Commit())
        status = OutputError(*options.png, pngFile->Error());
    }
    if (trace) {
      if (!trace->Close())
        status = OutputError(*options.trace, "cannot be written");
      else if (!traceFile->Commit())
        status = OutputError(*options.trace, traceFile->Error());
    }
  }
  if (options.quiet)
    return status;

  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  std::fprintf(
      stderr, "zirvo-render: %llu passes, %llu pixels, %.3f simulated s (%s), %.2f s wall\n",
      static_cast<unsigned long long>(run.passes), static_cast<unsigned long long>(sink.Pixels()),
      static_cast<double>(clock.NowUs()) / 1e6,
      run.endedByItself     ? "the show ended by itself"
      : cutShort != nullptr ? "stopped: an output failed"
                            : "time limit reached",
      wall);
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
