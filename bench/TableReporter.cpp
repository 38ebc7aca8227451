#include "TableReporter.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace zirvo::bench {

namespace {

constexpr double kDelayTargetNs = 100e6 / 1024;  // the 1024th part of 100 ms
constexpr double kNodeBytes = 24;
constexpr double kRefreshMs = 1000.0 / 60;  // the SDL window's refresh without a real display

std::string CpuModel() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      const auto colon = line.find(':');
      return colon == std::string::npos ? line : line.substr(colon + 2);
    }
  }
  return "unknown";
}

std::string Fixed(double value, int decimals) {
  if (std::isnan(value))
    return "n/a";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// Large counts with thousands separators, for reading at a glance.
std::string Count(double value) {
  if (std::isnan(value))
    return "n/a";
  std::string digits = Fixed(value, 0);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0 && digits[i - 1] != '-'; i -= 3) {
    digits.insert(static_cast<std::size_t>(i), ",");
  }
  return digits;
}

void Section(const std::string& title) {
  std::printf("\n%s\n", title.c_str());
}

void Row(const std::string& figure, const std::string& value, const std::string& target = "",
         const std::string& verdict = "") {
  std::printf("  %-74s %16s  %-12s %s\n", figure.c_str(), value.c_str(), target.c_str(),
              verdict.c_str());
}

std::string Verdict(bool met) {
  return met ? "met" : "MISSED";
}

}  // namespace

bool TableReporter::ReportContext(const Context& context) {
  cpus_ = context.cpu_info.num_cpus;
  return true;
}

void TableReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    const std::string name = run.run_name.function_name;
    runs_[name] = run;
    std::cerr << "  done: " << name << (run.error_occurred ? " (error)" : "") << "\n";
  }
}

const benchmark::BenchmarkReporter::Run* TableReporter::Find(const std::string& name) const {
  const auto found = runs_.find(name);
  return found == runs_.end() || found->second.error_occurred ? nullptr : &found->second;
}

double TableReporter::Counter(const std::string& name, const std::string& counter) const {
  const Run* run = Find(name);
  if (run == nullptr)
    return NAN;
  const auto found = run->counters.find(counter);
  return found == run->counters.end() ? std::nan("") : found->second.value;
}

double TableReporter::SecondsPerIteration(const std::string& name) const {
  const Run* run = Find(name);
  if (run == nullptr || run->iterations == 0)
    return NAN;
  return run->real_accumulated_time / static_cast<double>(run->iterations);
}

std::string TableReporter::Skipped(const std::string& name) const {
  const auto found = runs_.find(name);
  return found != runs_.end() && found->second.error_occurred ? found->second.error_message : "";
}

void TableReporter::SdlSection() const {
  const auto first = runs_.lower_bound("sdl/");
  if (first == runs_.end() || first->first.rfind("sdl/", 0) != 0)
    return;  // a build without the SDL backend
  Section("SDL backend (Linux): pixel sets and presents at 1920 x 1080");
  const double alone =
      SecondsPerIteration("sdl/setpixel/alone") * 1e9 / Counter("sdl/setpixel/alone", "pixels");
  const double collected = SecondsPerIteration("sdl/setpixel/collected") * 1e9 /
                           Counter("sdl/setpixel/collected", "pixels");
  Row("TrackedScreen::SetPixel, random pixels, drawing thread alone, ns", Fixed(alone, 2));
  Row("the same while another thread collects at 60 Hz, ns", Fixed(collected, 2));
  Row("pixel set while collected / alone", Fixed(collected / alone, 3));
  const std::string dense = "sdl/collect/dense_frame";
  Row("dense frame (171 turns at the calibrated pace): pixels set",
      Fixed(Counter(dense, "frame_pixels"), 0));
  Row("dense frame: rows changed / rows from first to last changed",
      Fixed(Counter(dense, "frame_rows"), 0) + " / " + Fixed(Counter(dense, "frame_row_span"), 0));
  Row("collecting the changes (TakeChangedRows + ConvertRows), every row, ms",
      Fixed(SecondsPerIteration("sdl/collect/every_row") * 1e3, 2));
  Row("collecting the changes, dense frame, ms", Fixed(SecondsPerIteration(dense) * 1e3, 2));

  const struct {
    const char* name;
    const char* what;
  } kinds[] = {{"every_row", "every row"}, {"dense_frame", "dense frame"}};
  std::string skipped;
  for (const auto& kind : kinds) {
    const std::string name = std::string("sdl/present/") + kind.name;
    const std::string how = std::string("present, ") + kind.what;
    if (const std::string why = Skipped(name); !why.empty()) {
      if (skipped.find(why) == std::string::npos)
        skipped += (skipped.empty() ? "" : "; ") + why;
      continue;
    }
    const Run* run = Find(name);
    if (run == nullptr)
      continue;
    Row(how + " [" + run->report_label + "], mean ms", Fixed(SecondsPerIteration(name) * 1e3, 2));
    const double worst = Counter(name, "frame_ms_max");
    Row(how + ", median / longest ms",
        Fixed(Counter(name, "frame_ms_median"), 2) + " / " + Fixed(worst, 2),
        "< " + Fixed(kRefreshMs, 1), Verdict(worst < kRefreshMs));
    Row(how + ", frames over refresh",
        Fixed(Counter(name, "frames_over_refresh"), 0) + " of " + std::to_string(run->iterations));
  }
  if (!skipped.empty())
    Row("presents " + skipped, "n/a");
}

void TableReporter::ExtraRows() const {
  if (extraRows_.empty())
    return;
  std::ifstream extra(extraRows_);
  std::string line;
  bool titled = false;
  while (std::getline(extra, line)) {
    if (line.rfind("## ", 0) == 0) {
      Section(line.substr(3));
      titled = true;
      continue;
    }
    if (!titled) {
      Section("zirvo-render (simulated seconds, wall clock)");
      titled = true;
    }
    std::string cells[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
      const std::size_t bar = line.find('|', start);
      cells[i] = line.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
      if (bar == std::string::npos)
        break;
      start = bar + 1;
    }
    Row(cells[0], cells[1], cells[2], cells[3]);
  }
}

void TableReporter::Finalize() {
  std::printf("Zirvo benchmarks: %d cores, %s\n", cpus_, CpuModel().c_str());
  std::printf(
      "(points/s: swirl turns per second through zirvo::DrawingPass with a no-op\n"
      " Delayer and a plain-array PixelSink, once the trails are full; in the dense\n"
      " and crossing scenes every turn computes, stores and draws one point and\n"
      " erases the oldest; CPU time)\n");
  std::printf("  %-74s %16s  %-12s %s\n", "figure", "value", "target", "verdict");

  for (const char* scene : {"dense", "crossing", "default"}) {
    const std::string s = scene;
    const double indexed = Counter("pass/" + s + "/indexed", "turns_per_s");
    const double rowWalk = Counter("pass/" + s + "/rowwalk", "turns_per_s");
    const double floor = Counter("floor/" + s, "turns_per_s");
    const bool dense = s == "dense";
    Section(s + " scene (" + Count(Counter("pass/" + s + "/indexed", "stored")) +
            " points stored)");
    Row("indexed store, points/s", Count(indexed));
    Row("row-walk store (reference), points/s", Count(rowWalk));
    Row("floor: motion alone, no store, points/s", Count(floor));
    if (s == "default") {
      Row("(one swirl, dt 50: most turns only count down; no floor ratio)", "");
    }
    const double toFloor = indexed / floor;
    const double toRowWalk = indexed / rowWalk;
    if (s != "default") {
      Row("indexed / floor (the two runs above, one after the other)", Fixed(toFloor, 3));
      // The verdict goes to the alternating rounds: a shared machine's slow
      // stretches fall on both sides of that ratio.
      const std::string side = "side/" + s;
      const double ratio = Counter(side, "ratio");
      const std::string rounds = Fixed(Counter(side, "rounds"), 0);
      Row("alternating rounds of 50 passes and 50 floor steps: rounds", rounds);
      Row("  indexed pass, ns per turn (median round)", Fixed(Counter(side, "pass_ns"), 1));
      Row("  floor, ns per turn (median round)", Fixed(Counter(side, "floor_ns"), 1));
      Row("  indexed / floor (median rounds)", Fixed(ratio, 3), dense ? ">= 0.333" : "",
          dense ? Verdict(ratio >= 1.0 / 3) : "");
    }
    Row("indexed / row walk", Fixed(toRowWalk, 1) + "x", dense ? ">= 50x" : "",
        dense ? Verdict(toRowWalk >= 50) : "");
    Row("engine work per turn, indexed, ns", Fixed(1e9 / indexed, 1));
    Row("engine work per turn, row walk, ns", Fixed(1e9 / rowWalk, 1));
  }

  Section("pacing");
  const double delayNone = Counter("delay/calibrated/none", "delay_ns");
  const double delayPixels = Counter("delay/calibrated/framebuffer", "delay_ns");
  const double engineTurn = 1e9 / Counter("pass/dense/indexed", "turns_per_s");
  const double share = 100.0 * engineTurn / delayNone;
  Row("engine work per dense turn / one calibrated Delay", Fixed(share, 3) + "%", "< 1%",
      Verdict(share < 1.0));
  Row("target Delay (100 ms / 1024), us", Fixed(kDelayTargetNs / 1e3, 2));
  const char* sinks[] = {"none", "framebuffer", "trackedscreen"};
  for (const char* sink : sinks) {
    const std::string name = std::string("delay/calibrated/") + sink;
    if (runs_.count(name) == 0)
      continue;
    const double delay = Counter(name, "delay_ns");
    const double deviation = 100.0 * (delay - kDelayTargetNs) / kDelayTargetNs;
    const std::string s = sink;
    const std::string how = "calibration pixels: " + (s == "none"          ? s
                                                      : s == "framebuffer" ? "headless framebuffer"
                                                                           : "SDL TrackedScreen");
    Row(how + ", WaitCount (median of rounds)", Count(Counter(name, "wait_count")));
    Row(how + ", mean Delay (median of rounds), us", Fixed(delay / 1e3, 2));
    Row(how + ", mean Delay, lowest..highest round, us",
        Fixed(Counter(name, "delay_ns_min") / 1e3, 2) + ".." +
            Fixed(Counter(name, "delay_ns_max") / 1e3, 2));
    Row(how + ", Delay vs target", (deviation >= 0 ? "+" : "") + Fixed(deviation, 1) + "%",
        "within 10%", Verdict(std::fabs(deviation) <= 10));
    Row(how + ", pixel work per trial, ns", Fixed(Counter(name, "work_ns"), 0));
  }
  Row("WaitCount with framebuffer pixels / without",
      Fixed(Counter("delay/calibrated/framebuffer", "wait_count") /
                Counter("delay/calibrated/none", "wait_count"),
            3));
  Row("mean Delay with framebuffer pixels / without", Fixed(delayPixels / delayNone, 3));
  if (runs_.count("delay/calibrated/trackedscreen") != 0) {
    Row("WaitCount with TrackedScreen pixels / without",
        Fixed(Counter("delay/calibrated/trackedscreen", "wait_count") /
                  Counter("delay/calibrated/none", "wait_count"),
              3));
    Row("mean Delay with TrackedScreen pixels / without",
        Fixed(Counter("delay/calibrated/trackedscreen", "delay_ns") / delayNone, 3));
  }
  const double repetition =
      SecondsPerIteration("delay/repetition") * 1e9 / Counter("delay/repetition", "repetitions");
  Row("one repetition of Delay (log 10.0 stored), ns", Fixed(repetition, 2));

  Section("memory, dense scene with its trails full");
  const double stored = Counter("pass/dense/indexed", "stored");
  for (const char* store : {"indexed", "rowwalk"}) {
    const std::string name = std::string("pass/dense/") + store;
    const double bytes = Counter(name, "bytes");
    const double capacity = Counter(name, "capacity");
    const double fixed = bytes - capacity * kNodeBytes;
    const std::string label = std::string(store) == "indexed" ? "indexed" : "row walk (reference)";
    Row(label + ": bytes held", Count(bytes));
    Row(label + ": pool nodes (24 bytes each)", Count(capacity));
    Row(label + ": bytes per stored point (all bytes / points)",
        Fixed(bytes / Counter(name, "stored"), 2));
    Row(label + ": fixed overhead (all but the pool), bytes", Count(fixed));
  }
  Row("indexed bytes / row-walk bytes",
      Fixed(Counter("pass/dense/indexed", "bytes") / Counter("pass/dense/rowwalk", "bytes"), 3));
  Row("stored points, indexed = row walk",
      stored == Counter("pass/dense/rowwalk", "stored") ? "yes" : "no (runs differ in length)");

  SdlSection();
  ExtraRows();
  std::fflush(stdout);
}

}  // namespace zirvo::bench
