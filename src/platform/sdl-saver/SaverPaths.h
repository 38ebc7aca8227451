// Where zirvo-saver finds what it was not told: the sample scenes and the
// settings file. Installed, it lives in <prefix>/libexec/xscreensaver (where
// screensaver hosts look for it) and uses the zirvo.ini installed beside zirvo
// and the scenes in <prefix>/share/zirvo/scenes; in the build tree it uses the
// zirvo.ini beside it and the copies of the sample scenes the build puts there.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zirvo::saver {

// The directory of the running program (its real path), without a trailing '/'.
std::string ProgramDirectory(const std::string& programPath);

// The first existing directory of sample scenes; empty when there is none.
std::string SampleScenesDirectory(const std::string& programDirectory);

// The zirvo.ini the saver reads when --settings is not given: beside the
// program, else the installed zirvo's. Nothing when neither exists (the loader
// then reports the file beside the program as missing).
std::optional<std::string> DefaultSettingsFile(const std::string& programDirectory);

// The *.zrv files directly in `directory`, sorted by name. False with `error`
// set when it cannot be listed.
bool ScenesIn(const std::string& directory, std::vector<std::string>& scenes, std::string& error);

// Empty when `path` is a regular file that can be opened for reading, else why
// not ("No such file or directory", "is a directory", ...).
std::string WhyUnreadable(const std::string& path);

}  // namespace zirvo::saver
