// Loads the saver's scenes as the tools do (the program's real path, the
// settings file it was given or found), and tells the loader's notes on stderr:
// in watch mode every note of every load, as zirvo-check words them; otherwise
// only why a scene does not load, once per scene.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "app/SaverShow.h"

namespace zirvo::saver {

class SaverLoader final : public SceneLoader {
 public:
  SaverLoader(std::string programPath, std::optional<std::string> settings, bool allNotes)
      : programPath_(std::move(programPath)), settings_(std::move(settings)), allNotes_(allNotes) {}

  bool Load(const std::string& scene, const ScreenSize& size, Show& show, ShowTime& time) override;

  // The settings file a load of `scene` reads.
  std::string SettingsPathFor(const std::string& scene) const override;
  // Tells the notes of the next load of each scene again (a file changed).
  void ForgetReports() { reported_.clear(); }

 private:
  std::string programPath_;
  std::optional<std::string> settings_;
  bool allNotes_;
  // What was last told about each scene: the same report is not repeated
  // (every monitor loads the scene, and a banner retries it every few seconds).
  std::map<std::string, std::string> reported_;
};

}  // namespace zirvo::saver
