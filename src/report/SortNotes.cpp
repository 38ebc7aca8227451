#include <algorithm>
#include <string>
#include <vector>

#include "report/NoteFormat.h"

namespace zirvo {

void SortNotes(Diagnostics& diag) {
  std::vector<std::string> files;
  auto rank = [&files](const std::string& file) {
    return static_cast<std::size_t>(std::find(files.begin(), files.end(), file) - files.begin());
  };
  for (const Note& note : diag.notes) {
    if (rank(note.file) == files.size())
      files.push_back(note.file);
  }
  std::stable_sort(diag.notes.begin(), diag.notes.end(), [&rank](const Note& a, const Note& b) {
    const auto rankA = rank(a.file);
    const auto rankB = rank(b.file);
    if (rankA != rankB)
      return rankA < rankB;
    return a.line < b.line;
  });
}

}  // namespace zirvo
