#include "listing/ListingRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>

#include "listing/ReportBoxes.h"
#include "tests/listing/ListingTestSupport.h"

namespace tarvel {

namespace {

// Music/Artist/Song.mp3 (4000 bytes) and Music/list.txt (2 bytes).
class MusicFolder : public ::testing::Test {
 protected:
  MusicFolder() {
    tree.createFile("Music/Artist/Song.mp3", std::string(4000, 'x'));
    tree.createFile("Music/list.txt", "hi");
  }
  std::string list(const ListingOptions& options) {
    return listFolder(run, tree, "Music", options);
  }
  TestTree tree;
  ListingRun run;
};

TEST_F(MusicFolder, OptionsShapeTheLines) {
  using Set = std::function<void(ListingOptions&)>;
  const std::string root = tree.path("Music");
  const std::vector<std::pair<Set, std::string>> cases = {
      {[](ListingOptions& o) { o = ListingOptions{}; },
       reportLines({"Music", " |-Artist", " |  |-Song.mp3", " |  |---------/", " |-List.txt",
                    " |---------/"})},
      {[](ListingOptions& o) {
         o.treeStyle = false;
         o.pathMode = PathMode::RelativePath;
         o.applyPathOptionsToFiles = true;
       },
       reportLines({"/Artist", "/Artist/Song.mp3", "/list.txt"})},
      {[](ListingOptions& o) { o.pathMode = PathMode::RelativePath; },
       reportLines({"Root", " |-/Artist", " |  |-Song.mp3", " |-list.txt"})},
      {[](ListingOptions& o) {
         o.pathMode = PathMode::AbsolutePath;
         o.applyPathOptionsToFiles = true;
       },
       reportLines({root, " |-" + root + "/Artist", " |  |-" + root + "/Artist/Song.mp3",
                    " |-" + root + "/list.txt"})},
      {[](ListingOptions& o) {
         o.includeFileSize = true;
         o.removeExtension = true;
       },
       reportLines({"Music", " |-Artist", " |  |-Song ( 4000 )", " |-list ( 2 )"})},
      {[](ListingOptions& o) { o.includeSubfolders = false; },
       reportLines({"Music", " |-Artist", " |-list.txt"})},
      {[](ListingOptions& o) { o.noFolders = true; },
       reportLines({"Music", " |  |-Song.mp3", " |-list.txt"})},
      {[](ListingOptions& o) {
         o.extensionFilterOn = true;  // an empty filter keeps no file at all
       },
       reportLines({"Music", " |-Artist"})},
      {[](ListingOptions& o) {
         o.extensionFilterOn = true;
         o.extensionFilter = "*.MP3";
       },
       reportLines({"Music", " |-Artist", " |  |-Song.mp3"})},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    ListingOptions options = plainOptions();
    cases[i].first(options);
    EXPECT_EQ(list(options), cases[i].second) << "case " << i;
  }
}

TEST_F(MusicFolder, CapitalisationTakesInPathsAndSizes) {
  ListingOptions options = plainOptions();
  options.capitalizeNames = true;
  options.treeStyle = false;
  options.pathMode = PathMode::RelativePath;
  options.applyPathOptionsToFiles = true;
  options.includeFileSize = true;
  EXPECT_EQ(list(options),
            reportLines({"/artist", "/artist/song.mp3 ( 4000 )", "/list.txt ( 2 )"}));
}

TEST_F(MusicFolder, BoxesFrameTheReportAndCountEverything) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  run.setClock([] { return std::time_t{1772701623}; });  // Thu Mar  5 09:07:03 2026 UTC
  ListingOptions options = plainOptions();
  options.includeHeader = true;
  options.includeFooter = true;
  options.noFiles = true;  // counted all the same
  const std::string boxTop =
      reportLines({"/---------------------------------\\", "|        Liste de fichiers        |",
                   "| générée par Tarvelinquistombrel |"});
  const std::string expected =
      boxTop +
      reportLines({"| Date : Thu Mar 05 09:07:03 2026 |", "\\---------------------------------/",
                   "Music", " |-Artist"}) +
      boxTop +
      reportLines({"| Nombre de fichiers:      2      |", "| Nombre de dossiers:      1      |",
                   "\\---------------------------------/"});
  EXPECT_EQ(list(options), expected);
  EXPECT_EQ(list(options), expected);  // counts start afresh
}

TEST(SingleItem, AFileIsItsOwnLineAndFoldersAreAlwaysWalked) {
  TestTree tree;
  tree.createDir("Empty");
  tree.createFile("Secret/.hidden");
  ListingRun run;
  ListingOptions options;
  options.removeExtension = true;
  run.run({"WIN.INI", "/etc/WIN.INI", ItemKind::File, nullptr}, options);
  EXPECT_EQ(run.report(), reportLines({"WIN.INI"}));
  EXPECT_EQ(run.state().fileCount, 1);
  EXPECT_EQ(listFolder(run, tree, "Empty", options), reportLines({"Empty"}));
  EXPECT_EQ(run.state().fileCount, 0);
  EXPECT_EQ(listFolder(run, tree, "Secret", options),
            reportLines({"Secret", " |-", " |-/"}));  // ".hidden" without its extension
  EXPECT_EQ(run.state().fileCount, 1);
  options.pathMode = PathMode::AbsolutePath;
  options.includeSubfolders = false;
  run.run({"/", "", ItemKind::Folder, nullptr}, options);
  EXPECT_EQ(run.report().substr(0, 3), "/\r\n");
}

TEST(ReportBoxes, LargeCountsWidenTheirLine) {
  std::string report;
  appendFooterBox(report, 1'000'000, 7);
  EXPECT_NE(report.find("| Nombre de fichiers: 1000000      |\r\n"), std::string::npos);
}

}  // namespace

}  // namespace tarvel
