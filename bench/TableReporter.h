// Collects every benchmark run and prints one table at the end: each figure,
// the ratios between them and the targets they are held against. Progress goes
// to stderr while the runs go on.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace zirvo::bench {

class TableReporter final : public benchmark::BenchmarkReporter {
 public:
  // `extraRows`: a file of "figure|value|target|verdict" lines measured outside
  // this program (the renderer, the program under Xvfb); a line "## title"
  // starts a section. May be empty.
  explicit TableReporter(std::string extraRows) : extraRows_(std::move(extraRows)) {}

  bool ReportContext(const Context& context) override;
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  const Run* Find(const std::string& name) const;
  double Counter(const std::string& name, const std::string& counter) const;
  double SecondsPerIteration(const std::string& name) const;
  // Why a run did not measure ("" when it did or was not run).
  std::string Skipped(const std::string& name) const;
  void SdlSection() const;
  void ExtraRows() const;

  std::string extraRows_;
  int cpus_ = 0;
  std::map<std::string, Run> runs_;
};

}  // namespace zirvo::bench
