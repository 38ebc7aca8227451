#include "scene/SceneFile.h"

#include "scene/Numbers.h"
#include "scene/ReadNotes.h"
#include "scene/SceneKeys.h"

namespace zirvo {

namespace {

FilePtr OpenScene(std::string& scenePath, Diagnostics* diag, FileOpener& opener) {
  FilePtr file(opener.Open(scenePath));
  if (file)
    return file;
  const std::string asGiven = scenePath;
  // Appended whether or not the name already has an extension.
  scenePath += ".zrv";
  file.reset(opener.Open(scenePath));
  if (!file && diag != nullptr) {
    diag->Add(
        Severity::kError, NoteCode::kCannotOpen, asGiven, 0, "",
        "cannot open the scene file, neither as '" + asGiven + "' nor as '" + scenePath + "'.");
  }
  return file;
}

// A line that begins with a separator but holds a key: its key is lost.
void NoteIndentedKey(const std::string& line, bool endsBlock, Diagnostics& diag,
                     const LineOrigin& origin) {
  std::string_view key;
  std::string_view value;
  if (FirstNonSeparator(line) == '\0' || !SplitKeyValue(line, key, value))
    return;
  const bool highByte = static_cast<unsigned char>(line[0]) >= 128;
  std::string message = highByte ? "this line begins with a byte of 128 or more (a byte-order "
                                   "mark or a non-ASCII letter), so it counts as a blank line"
                                 : "this line begins with a blank, so it counts as a blank line";
  message += endsBlock ? ": it ends the block and its key is ignored." : " and its key is ignored.";
  diag.Add(Severity::kWarning, NoteCode::kIndentedKey, origin, std::move(message));
}

// After the 50th kind: the first line that would have mattered gets one note.
void NoteIgnoredRest(LineReader& reader, const std::string& path, Diagnostics& diag) {
  std::string line;
  while (reader.Next(line)) {
    std::string_view key;
    std::string_view value;
    if (line.empty() || IsSeparator(line[0]) || !SplitKeyValue(line, key, value))
      continue;
    diag.Add(Severity::kWarning, NoteCode::kBlockIgnored, path, reader.LineNumber(), line,
             "only 50 kinds are read, so this line and the rest of the file are ignored.");
    return;
  }
}

}  // namespace

int ReadSceneFile(std::string& scenePath, Settings& settings, SpecTable& specs, Diagnostics* diag,
                  FileOpener& opener) {
  specs.SpecCount = 0;
  const FilePtr file = OpenScene(scenePath, diag, opener);
  if (!file)
    return 0;
  const std::string& path = scenePath;

  SceneReadState state;
  SwirlSpec* current = &specs[0];
  SpecDefaults(*current, settings.VirtWidth, settings.VirtHeight);
  bool content = false;
  const auto finishBlock = [&] {
    if (diag != nullptr)
      NoteFinishedKind(*current, specs.SpecCount, state, *diag);
    SpecFinish(*current, state.d, specs);
    content = false;
  };

  LineReader reader(file.get());
  std::string line;
  std::string asWritten;  // the line before lower-casing, for notes
  while (NextLoweredLine(reader, path, line, asWritten, diag)) {
    const LineOrigin origin{path, reader.LineNumber(), asWritten};
    if (line.empty() || IsSeparator(line[0])) {
      if (diag != nullptr)
        NoteIndentedKey(line, content, *diag, origin);
      if (!content)
        continue;
      finishBlock();
      if (specs.SpecCount == kMaxKinds) {
        if (diag != nullptr)
          NoteIgnoredRest(reader, path, *diag);
        return 1;
      }
      current = &specs[specs.SpecCount];
      // The centre comes from the virtual size as it stands now.
      SpecDefaults(*current, settings.VirtWidth, settings.VirtHeight);
      continue;
    }
    std::string_view key;
    std::string_view value;
    if (!SplitKeyValue(line, key, value))
      continue;  // a comment
    const KeyResult screenOrScale = ApplyScreenOrScale(key, value, settings, diag, origin);
    if (screenOrScale == KeyResult::kRejected)
      return 0;
    if (screenOrScale == KeyResult::kApplied)
      continue;
    if (!content) {
      content = true;
      if (diag != nullptr) {
        state.block = BlockLines{};
        state.block.first = SettingSource{path, origin.line, asWritten};
      }
    }
    ApplyKindKey(key, value, *current, state, specs.SpecCount, diag, origin);
  }
  if (reader.Failed()) {
    if (diag != nullptr)
      NoteReadError(path, reader.LineNumber(), *diag);
    return 0;
  }
  // The file may end inside a block, with no blank line after it.
  if (content)
    finishBlock();
  return 1;
}

}  // namespace zirvo
