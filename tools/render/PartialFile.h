// An output file written under a temporary name beside its target and renamed
// onto the target only once complete, so that a render that fails or is
// interrupted never leaves a file under the target's name that looks whole.
// The temporary file is removed when the object goes without Commit(), and
// also when the process is stopped by SIGINT, SIGTERM or SIGHUP.
#pragma once

#include <string>

namespace zirvo::tools {

class PartialFile {
 public:
  // Creates the temporary file "TARGET.PID.partial" (the usual permissions)
  // beside the target, or beside the file it links to; Ok() tells whether that
  // worked.
  explicit PartialFile(std::string target);
  ~PartialFile();
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  bool Ok() const { return error_.empty(); }
  // "cannot be created (Permission denied)" and the like.
  const std::string& Error() const { return error_; }
  // Where to write until Commit().
  const std::string& Path() const { return path_; }

  // Renames the written file onto the target. False with Error() set when the
  // rename failed (the temporary file is removed then).
  bool Commit();

 private:
  void Remove();

  std::string target_;
  std::string path_;
  std::string error_;
  int slot_ = -1;  // in the table the signal handler empties
  bool present_ = false;
};

}  // namespace zirvo::tools
