#include "listing/ListingRun.h"
#include "listing/ReportBoxes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>

#include "tests/listing/ListingTestSupport.h"

namespace {

// Music/Artist/Song.mp3 (4000 bytes) and Music/list.txt.
class MusicFolder : public ::testing::Test {
 protected:
  MusicFolder() {
    tree.createFile("Music/Artist/Song.mp3", std::string(4000, 'x'));
    tree.createFile("Music/list.txt", "hi");
  }
  std::string list(const ListingOptions& options) {
    return listFolder(run, tree, "Music", options);
  }
  std::string music() const { return tree.path("Music"); }

  TestTree tree;
  ListingRun run;
};

TEST_F(MusicFolder, OptionsShapeTheLines) {
  struct Case {
    const char* name;
    std::function<void(ListingOptions&)> set;
    std::function<std::string(const std::string& root)> expected;
  };
  const Case cases[] = {
      {"start-up values", [](ListingOptions& o) { o = ListingOptions{}; },
       [](const std::string&) {
         return reportLines({"Music", " |-Artist", " |  |-Song.mp3", " |  |---------/",
                             " |-List.txt", " |---------/"});
       }},
      {"separator after each folder name",
       [](ListingOptions& o) {
         o.separatorOn = true;
         o.separatorPlacement = SeparatorPlacement::AfterDirectoryName;
       },
       [](const std::string&) {
         return reportLines({"Music", " |-Artist", " |-------/", " |  |-Song.mp3", " |-list.txt"});
       }},
      {"relative paths on files too",
       [](ListingOptions& o) {
         o.treeStyle = false;
         o.pathMode = PathMode::RelativePath;
         o.applyPathOptionsToFiles = true;
       },
       [](const std::string&) {
         return reportLines({"/Artist", "/Artist/Song.mp3", "/list.txt"});
       }},
      {"relative paths on folders only",
       [](ListingOptions& o) {
         o.treeStyle = false;
         o.pathMode = PathMode::RelativePath;
       },
       [](const std::string&) {
         return reportLines({"/Artist", "Song.mp3", "list.txt"});
       }},
      {"absolute paths",
       [](ListingOptions& o) {
         o.treeStyle = false;
         o.pathMode = PathMode::AbsolutePath;
         o.applyPathOptionsToFiles = true;
       },
       [](const std::string& root) {
         return reportLines({root + "/Artist", root + "/Artist/Song.mp3", root + "/list.txt"});
       }},
      {"root line by path mode", [](ListingOptions& o) { o.pathMode = PathMode::RelativePath; },
       [](const std::string&) {
         return reportLines({"Root", " |-/Artist", " |  |-Song.mp3", " |-list.txt"});
       }},
      {"absolute root line",
       [](ListingOptions& o) {
         o.pathMode = PathMode::AbsolutePath;
         o.noFolders = true;
         o.noFiles = true;
       },
       [](const std::string& root) { return reportLines({root}); }},
      {"sizes", [](ListingOptions& o) { o.includeFileSize = true; },
       [](const std::string&) {
         return reportLines({"Music", " |-Artist", " |  |-Song.mp3 ( 4000 )", " |-list.txt ( 2 )"});
       }},
      {"sizes without extensions",
       [](ListingOptions& o) {
         o.includeFileSize = true;
         o.removeExtension = true;
       },
       [](const std::string&) {
         return reportLines({"Music", " |-Artist", " |  |-Song ( 4000 )", " |-list ( 2 )"});
       }},
      {"no subfolders", [](ListingOptions& o) { o.includeSubfolders = false; },
       [](const std::string&) {
         return reportLines({"Music", " |-Artist", " |-list.txt"});
       }},
      {"no folder lines, still walked", [](ListingOptions& o) { o.noFolders = true; },
       [](const std::string&) {
         return reportLines({"Music", " |  |-Song.mp3", " |-list.txt"});
       }},
      {"no file lines", [](ListingOptions& o) { o.noFiles = true; },
       [](const std::string&) {
         return reportLines({"Music", " |-Artist"});
       }},
      {"empty filter keeps folders only",
       [](ListingOptions& o) {
         o.extensionFilterOn = true;
         o.extensionFilter = "";
       },
       [](const std::string&) {
         return reportLines({"Music", " |-Artist"});
       }},
      {"filter",
       [](ListingOptions& o) {
         o.extensionFilterOn = true;
         o.extensionFilter = "*.MP3";
       },
       [](const std::string&) {
         return reportLines({"Music", " |-Artist", " |  |-Song.mp3"});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ListingOptions options = plainOptions();
    c.set(options);
    EXPECT_EQ(list(options), c.expected(music()));
  }
}

TEST_F(MusicFolder, CapitalisationTakesInTheWholeLine) {
  ListingOptions options = plainOptions();
  options.capitalizeNames = true;
  options.treeStyle = false;
  options.pathMode = PathMode::AbsolutePath;
  options.applyPathOptionsToFiles = true;
  options.includeFileSize = true;
  std::string lowered = music();
  for (auto& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(list(options), reportLines({lowered + "/artist", lowered + "/artist/song.mp3 ( 4000 )",
                                        lowered + "/list.txt ( 2 )"}));
  options.pathMode = PathMode::RelativePath;
  EXPECT_EQ(list(options),
            reportLines({"/artist", "/artist/song.mp3 ( 4000 )", "/list.txt ( 2 )"}));
}

TEST_F(MusicFolder, BoxesFrameTheReportAndCountEverything) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  std::tm when{};
  when.tm_year = 2026 - 1900, when.tm_mon = 2, when.tm_mday = 5;
  when.tm_hour = 9, when.tm_min = 7, when.tm_sec = 3;
  const std::time_t instant = ::timegm(&when);
  run.setClock([instant] { return instant; });

  ListingOptions options = plainOptions();
  options.includeHeader = true;
  options.includeFooter = true;
  options.noFiles = true;  // counted all the same
  EXPECT_EQ(
      list(options),
      reportLines({"/---------------------------------\\", "|        Liste de fichiers        |",
                   "| générée par Tarvelinquistombrel |", "| Date : Thu Mar 05 09:07:03 2026 |",
                   "\\---------------------------------/", "Music", " |-Artist",
                   "/---------------------------------\\", "|        Liste de fichiers        |",
                   "| générée par Tarvelinquistombrel |", "| Nombre de fichiers:      2      |",
                   "| Nombre de dossiers:      1      |", "\\---------------------------------/"}));
  // A second run starts its counts afresh.
  list(options);
  EXPECT_EQ(run.state().fileCount, 2);
  EXPECT_EQ(run.state().folderCount, 1);
}

TEST_F(MusicFolder, PatternsSurviveARunWithoutTheFilter) {
  ListingOptions options = plainOptions();
  options.extensionFilterOn = true;
  options.extensionFilter = "*.mp3";
  list(options);
  options.extensionFilterOn = false;
  options.extensionFilter = "*.txt";
  list(options);
  EXPECT_EQ(run.extensionPatterns().patternTexts(), std::vector<std::string>{"MP3"});
}

TEST(SingleItem, AFileIsItsOwnLineWhateverTheOptions) {
  ListingRun run;
  ListingOptions options;
  options.removeExtension = true;
  options.includeFooter = true;
  options.extensionFilterOn = true;
  options.extensionFilter = "*.txt";
  run.run({"WIN.INI", "/etc/WIN.INI", ItemKind::File, nullptr}, options);
  EXPECT_EQ(
      run.report(),
      reportLines({"WIN.INI", "/---------------------------------\\",
                   "|        Liste de fichiers        |", "| générée par Tarvelinquistombrel |",
                   "| Nombre de fichiers:      1      |", "| Nombre de dossiers:      0      |",
                   "\\---------------------------------/"}));
}

TEST(SingleItem, FoldersAreWalkedEvenWhenEmptyOrHidden) {
  TestTree tree;
  tree.createDir("Empty");
  tree.createFile("Secret/.hidden");
  ListingRun run;
  ListingOptions options;
  EXPECT_EQ(listFolder(run, tree, "Empty", options), reportLines({"Empty"}));
  EXPECT_EQ(run.state().fileCount, 0);
  EXPECT_EQ(listFolder(run, tree, "Secret", options),
            reportLines({"Secret", " |-.hidden", " |--------/"}));
  EXPECT_EQ(run.state().fileCount, 1);
}

TEST(SingleItem, TheRootFolderShowsAsSlash) {
  ListingRun run;
  ListingOptions options = plainOptions();
  options.includeSubfolders = false;
  options.noFiles = true;
  options.noFolders = true;
  for (const auto mode : {PathMode::NoPath, PathMode::AbsolutePath}) {
    options.pathMode = mode;
    run.run({"/", "", ItemKind::Folder, nullptr}, options);
    EXPECT_EQ(run.report(), reportLines({"/"}));
  }
}

TEST(ReportBoxes, LargeCountsWidenTheirLine) {
  std::string report;
  appendFooterBox(report, 1'000'000, 7);
  EXPECT_NE(report.find("| Nombre de fichiers: 1000000      |\r\n"), std::string::npos);
  EXPECT_NE(report.find("| Nombre de dossiers:      7      |\r\n"), std::string::npos);
}

}  // namespace
