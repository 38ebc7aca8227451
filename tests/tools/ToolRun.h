// Runs one of the tools as its own process, in a given directory, and collects
// its exit status and what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zirvo::testing {

struct ToolOutput {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

ToolOutput RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::filesystem::path& workDir);

// Starts the tool as RunTool does (its output into workDir/.tool-stdout and
// .tool-stderr) and returns at once: the child's process id, for waitpid.
int StartTool(const std::string& program, const std::vector<std::string>& args,
              const std::filesystem::path& workDir);

std::string ReadFile(const std::filesystem::path& path);

}  // namespace zirvo::testing
