// The fake disk in memory: texts read byte for byte as the readers read files
// on disk, empty files, files that fail to read, and nothing else.
#include "scene/MemoryFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/LineReader.h"

namespace zirvo {
namespace {

std::vector<std::string> LinesOf(FileOpener& opener, const std::string& path) {
  FilePtr file(opener.Open(path));
  std::vector<std::string> lines;
  if (!file)
    return lines;
  LineReader reader(file.get());
  for (std::string text; reader.Next(text);)
    lines.push_back(text);
  EXPECT_FALSE(reader.Failed());
  return lines;
}

TEST(MemoryFiles, OpenTheirTextsByteForByteAndNothingElse) {
  MemoryFiles files;
  files.Put("a.zrv", std::string("one\r\ntwo\0hidden\nthree", 21));
  files.Put("empty.ini", "");
  EXPECT_EQ(LinesOf(files, "a.zrv"), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(LinesOf(files, "empty.ini"), std::vector<std::string>{});
  FilePtr empty(files.Open("empty.ini"));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(std::getc(empty.get()), EOF);
  EXPECT_EQ(std::ferror(empty.get()), 0);
  EXPECT_NE(std::feof(empty.get()), 0);
  EXPECT_EQ(files.Open("b.zrv"), nullptr);
  EXPECT_EQ(files.Open("/a.zrv"), nullptr);

  // A stream open before a file is put again reads what it opened.
  FilePtr before(files.Open("a.zrv"));
  files.Put("a.zrv", "replaced\n");
  EXPECT_EQ(std::getc(before.get()), 'o');
  EXPECT_EQ(LinesOf(files, "a.zrv"), std::vector<std::string>{"replaced"});
}

TEST(MemoryFiles, AnUnreadableFileOpensAndEveryReadFails) {
  MemoryFiles files;
  files.PutUnreadable("zirvo.ini");
  FilePtr file(files.Open("zirvo.ini"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(std::getc(file.get()), EOF);
  EXPECT_NE(std::ferror(file.get()), 0);
}

}  // namespace
}  // namespace zirvo
