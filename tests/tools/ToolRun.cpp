#include "ToolRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace zirvo::testing {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int StartTool(const std::string& program, const std::vector<std::string>& args,
              const std::filesystem::path& workDir) {
  const auto outPath = workDir / ".tool-stdout";
  const auto errPath = workDir / ".tool-stderr";
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (auto& arg : argv)
    pointers.push_back(arg.data());
  pointers.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int none = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || none < 0 || chdir(workDir.c_str()) != 0)
      _exit(127);
    dup2(none, 0);
    dup2(out, 1);
    dup2(err, 2);
    execv(program.c_str(), pointers.data());
    _exit(127);
  }
  return child;
}

ToolOutput RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::filesystem::path& workDir) {
  const auto outPath = workDir / ".tool-stdout";
  const auto errPath = workDir / ".tool-stderr";
  const pid_t child = StartTool(program, args, workDir);
  ToolOutput result;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.status = WEXITSTATUS(status);
  }
  result.out = ReadFile(outPath);
  result.err = ReadFile(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return result;
}

}  // namespace zirvo::testing
