#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <tuple>

#include "cli/CommandLine.h"
#include "platform/Version.h"
#include "tests/support/CommandWords.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/TestTree.h"

namespace tarvel {

namespace {

// Music/{abba/, Artist/Song.mp3, .hidden, list.TXT}
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.createDir("Music/abba");
    tree.createFile("Music/Artist/Song.mp3", "abcd");
    tree.createFile("Music/.hidden");
    tree.createFile("Music/list.TXT", "hello");
  }
  ProcessResult run(const std::vector<std::string>& args, const std::string& environment = {}) {
    return runCli(args, {.environment = words(environment), .workingFolder = tree.root()});
  }
  TestTree tree;
  // For programs run under strace: a sanitizer build's leak check cannot run under a tracer.
  const ProcessOptions traced{.environment = {"ASAN_OPTIONS=detect_leaks=0"},
                              .workingFolder = tree.root()};
};

// What the program itself adds to the parser and the listing: finding PATH, the header's clock,
// and the status and messages of each outcome.
TEST_F(CliTest, ExitCodesAndWhatGoesWhere) {
  // arguments, environment, exit code, part of standard output, part of standard error
  const std::tuple<const char*, const char*, int, std::string, std::string> cases[] = {
      {"--bogus Music", "", 2, "", "« --bogus »\nEssayez « tarvelinquistombrel-cli --help »"},
      {"--header Music", "SOURCE_DATE_EPOCH=253402300799", 0, "/-", ""},  // the year 9999
      {"--header Music/abba", "SOURCE_DATE_EPOCH=1772701623 TZ=UTC", 0,
       "| Date : Thu Mar 05 09:07:03 2026 |\r\n", ""},
      {"--header Music", "SOURCE_DATE_EPOCH=253402300800", 2, "", "SOURCE_DATE_EPOCH doit"},
      {"--header Music", "SOURCE_DATE_EPOCH=12x", 2, "", "SOURCE_DATE_EPOCH doit être un nombre"},
      {"--header Music", "SOURCE_DATE_EPOCH=", 2, "", "SOURCE_DATE_EPOCH doit être un nombre"},
      {"nowhere", "", 1, "", "Impossible de trouver « " + tree.path("nowhere") + " ».\n"},
      {"\"\"", "", 2, "", "le chemin indiqué est vide"},
      {"broken", "", 0, "broken\r\n", ""},  // a link to nothing is an item, as in the window
      {"--help", "", 0, "Utilisation : tarvelinquistombrel-cli [OPTION]... CHEMIN\n", ""},
      {"--version", "", 0, "tarvelinquistombrel-cli " TARVEL_VERSION "\n", ""},
      {"--folder-size Music", "", 0, "Taille du dossier:  9  Octets\n", ""},
      {"--folder-size nowhere", "", 1, "", "Impossible de trouver « " + tree.path("nowhere")}};
  tree.createSymlink("broken", "nowhere");
  for (const auto& [arguments, environment, exitCode, out, err] : cases) {
    const auto result = run(words(arguments), environment);
    EXPECT_EQ(result.exitCode, exitCode) << arguments;
    EXPECT_TRUE(result.out.find(out) != std::string::npos && result.out.empty() == out.empty())
        << result.out;
    EXPECT_TRUE(result.err.find(err) != std::string::npos && result.err.empty() == err.empty())
        << result.err;
  }
}

// The saves themselves are tested below the program; here, that -o gets the bytes standard
// output would, and that a refusal is a failure that names the file.
TEST_F(CliTest, OutputFileGetsTheSameBytesAndARefusalIsAFailure) {
  const auto direct = run({"--footer", "Music"});
  EXPECT_EQ(run({"-o", "out.txt", "--footer", "Music"}).out, "");
  EXPECT_EQ(tree.readFile("out.txt"), direct.out);
  const auto refused = run({"-o", "Music", "Music"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err,
            "tarvelinquistombrel-cli: L'accès à « " + tree.path("Music") + " » a été refusé.\n");
}

// Standard output gets the report in pieces while the walk writes it (here some four of them);
// a file gets it whole: the same bytes, separators measured across the pieces included.
TEST_F(CliTest, AReportWrittenInPiecesIsTheSameAsAWholeOne) {
  TestTree deep("/dev/shm");
  deep.createNestedDirs("top", "a", 1200);
  // Each folder's line is followed by a line as wide: measured before its piece goes.
  const auto pieces = run({"--separator-after=name", deep.path("top")});
  const auto whole = run({"--separator-after=name", "-o", "whole.txt", deep.path("top")});
  EXPECT_EQ(pieces.exitCode, 0);
  EXPECT_GT(pieces.out.size(), std::size_t{4} << 20);
  EXPECT_EQ(pieces.out, tree.readFile("whole.txt"));
}

// strace delivers the signal or the failure mid-save: a temporary file goes before the program
// ends by the signal; a file rewritten in place is finished first; a new file is never put over
// one that came meanwhile, yet saves where the file system cannot promise that.
TEST_F(CliTest, ASignalOrARaceMidSaveLosesAFileOrLeavesATemporary) {
  if (runProcess({"strace", "-V"}).exitCode != 0) GTEST_SKIP() << "strace is not installed";
  const std::string report = run({"Music"}).out;
  tree.createFile("alone.txt", "old");
  tree.createFile("linked.txt", "old");
  ASSERT_EQ(::link(tree.path("linked.txt").c_str(), tree.path("other.txt").c_str()), 0);
  // The temporary's name takes the last random bytes the program asks for.
  const auto randoms = runProcess({"strace", "-qqe", "trace=getrandom", kCliPath, "Music"}, traced);
  const std::string naming = std::to_string(std::ranges::count(randoms.err, '\n') + 1);
  const std::tuple<std::string, const char*, int, std::string> cases[] = {
      // by rename, the temporary written, before its sync; or as it is made
      {"fsync:signal=SIGTERM", "alone.txt", 128 + SIGTERM, "old"},
      {"getrandom:signal=SIGTERM:when=" + naming, "alone.txt", 128 + SIGTERM, "old"},
      // in place, the growth written, before the old bytes are
      {"lseek:when=2:signal=SIGINT", "linked.txt", 128 + SIGINT, report},
      // ignored, as in a background job: it stays ignored
      {"fsync:signal=SIGINT", "ignored.txt", 0, report},
      {"renameat2:error=EEXIST", "raced.txt", 1, ""},
      {"renameat2:error=EINVAL", "new.txt", 0, report},
      {"close:error=EIO -P /dev/null", "/dev/null", 1, ""},  // a device that fails as it closes
      // the old file's attributes unreadable on the copy: written in place, which keeps them,
      // unless a signal came as the copy went
      {"flistxattr:error=EIO -e inject=unlink:signal=SIGTERM", "alone.txt", 128 + SIGTERM, "old"},
      {"flistxattr:error=EIO", "alone.txt", 0, report}};
  for (const auto& [inject, target, exitCode, expected] : cases) {
    const std::string ignore = target == std::string("ignored.txt") ? "trap '' INT; " : "";
    const auto result = runProcess(
        {"sh", "-c", ignore + "exec strace -qqo /dev/null -e inject=" + inject + " \"$@\"", "sh",
         kCliPath, "-o", target, "Music"},
        traced);
    EXPECT_EQ(result.exitCode, exitCode) << inject << result.err;
    EXPECT_EQ(tree.readFile(target), expected) << inject;
  }
  EXPECT_EQ(tree.readFile("other.txt"), report);
  const auto entries = std::filesystem::directory_iterator(tree.root());
  EXPECT_EQ(std::distance(begin(entries), end(entries)), 6);  // Music and the five files
}

// A file's size costs a system call of its own; names alone come with the folder's records, so
// a tree of many files is listed without one call a file. Threads: one a processor beyond the
// first, to three, for the listing's reading ahead and for the folder size alike.
TEST_F(CliTest, NamesAloneCostACallForEachFileOrThreadsOutnumberProcessorsOrATerminalFloods) {
  if (runProcess({"strace", "-V"}).exitCode != 0) GTEST_SKIP() << "strace is not installed";
  for (int i = 0; i < 300; ++i)
    tree.createFile("Many/" + std::to_string(i % 100) + "/f" + std::to_string(i));
  // The thread of each call that names a file "f…", or of every call.
  const auto calls = [&](const std::string& set, const char* option, const char* folder,
                         const char* mark = "") {
    runProcess({"strace", "-fqqo", "calls.txt", "-e", "trace=" + set, kCliPath, option, folder},
               traced);
    std::istringstream lines(tree.readFile("calls.txt"));
    std::multiset<std::string> threads;
    for (std::string line; std::getline(lines, line);)
      if (line.find(mark) != std::string::npos) threads.insert(line.substr(0, line.find(' ')));
    return threads;
  };
  const auto distinct = [](const auto& all) { return std::set(all.begin(), all.end()); };
  EXPECT_LT(calls("newfstatat,statx", "--no-tree", "Many").size(), 100u);
  const unsigned processors = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  for (const char* option : {"--no-tree", "--folder-size", "--sizes"})
    EXPECT_EQ(calls("clone,clone3", option, "Many").size(), processors - 1) << option;
  // Each helper takes its share of the folders, listed or summed.
  for (const char* option : {"--no-tree", "--folder-size"})
    EXPECT_EQ(distinct(calls("getdents64", option, "Many")).size(), processors) << option;
  // The sizes of a large folder are read on every processor, each file once, in equal shares,
  // and each size reaches its own file.
  std::string expected = "Big\r\n";
  for (int i = 0; i < 4104; ++i) {
    const std::string name = std::to_string(10000 + i);
    tree.createSparseFile("Big/f" + name, i);
    expected += " |-F" + name + " ( " + std::to_string(i) + " )\r\n";
  }
  EXPECT_TRUE(run({"--sizes", "--no-separator", "Big"}).out == expected);
  EXPECT_EQ(calls("clone,clone3", "--sizes", "Big").size(), processors - 1);
  const auto sizesRead = calls("newfstatat,statx", "--sizes", "Big", "\"f");
  EXPECT_EQ(distinct(sizesRead).size(), processors);
  for (const auto& thread : distinct(sizesRead))
    EXPECT_EQ(sizesRead.count(thread), 4104 / processors);
  // On a terminal, a listing slower than half a second (strace holds its first read back)
  // shows its counts once, not once an entry, then erases them; a quick one shows nothing.
  for (const std::string delay : {"600000", "0"}) {
    const auto shown =
        runProcess({"script", "-qec",
                    "strace -qqo /dev/null -e inject=getdents64:when=1:delay_enter=" + delay +
                        " '" + kCliPath + "' -o out.txt Big",
                    "/dev/null"},
                   traced);
    EXPECT_EQ(shown.out, delay == "0" ? "" : "\r4104 fichiers, 0 dossiers...\r\033[K");
  }
}

// When the working folder has been removed, a relative PATH has no absolute form; taking the
// root in its place would list the whole file system (and put a relative -o file there).
TEST_F(CliTest, DeletedWorkingFolderIsNotTakenForTheRoot) {
  tree.createDir("gone");
  const auto result = runProcess({"sh", "-c", "cd \"$1\" && rmdir \"$1\" && exec \"$0\" \"$2\" .",
                                  kCliPath, tree.path("gone"), "--no-subfolders"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
}

// Standard output full, closed, or taking no byte (strace, on that file alone: a sanitizer
// writes to pipes of its own): the program says so and fails, whatever it was writing and
// whatever failed before.
TEST_F(CliTest, AFailedWriteIsAFailure) {
  for (const std::string run :
       {"\"$0\" $1 >/dev/full", "\"$0\" $1 >&-",
        "strace -qqo /dev/null -P out -e inject=write:retval=0 \"$0\" $1 >out"}) {
    for (const char* arguments : {"--help", "--version", "Music", "--folder-size Music"}) {
      const auto result = runProcess({"sh", "-c", "exec " + run, kCliPath, arguments}, traced);
      EXPECT_EQ(result.exitCode, 1) << arguments << run;
      EXPECT_NE(result.err.find("impossible d'écrire sur la sortie standard"), std::string::npos);
    }
  }
}

// Started with standard input closed, as some daemons start programs, the first folder opened
// gets descriptor 0: a folder like any other.
TEST_F(CliTest, AFolderOpenedAsDescriptorZeroIsTakenForAFailure) {
  const ProcessOptions options{.environment = {}, .workingFolder = tree.root()};
  for (const char* arguments : {"--sizes Music", "--folder-size Music", "--sizes Music/list.TXT",
                                "-o /dev/null Music", "-o out Music", "Music/Artist/.."}) {
    const auto closed =
        runProcess({"sh", "-c", "exec \"$0\" $1 <&-", kCliPath, arguments}, options);
    EXPECT_EQ(closed.exitCode, 0) << arguments << closed.err;
    EXPECT_EQ(closed.out, run(words(arguments)).out) << arguments;
  }
}

// As du and find do: one line for each folder or size that cannot be read, the report whole
// all the same, and the exit status says something was missed. Locked folders where the walk
// always reads them itself (abba, the first it enters) and where no thread of the folder size
// hands them to another (Locked, the last of its parent's).
TEST_F(CliTest, WhatCannotBeReadIsToldAndTheStatusIsOne) {
  tree.createFile("Music/Artist/Locked/secret");
  tree.setMode("Music/Artist/Locked", 0);
  tree.setMode("Music/abba", 0);
  for (const char* file : {"f", "g"}) tree.createFile(std::string("Music/Artisan/") + file, "x");
  tree.setMode("Music/Artisan", 0444);  // names can be read, sizes cannot
  const ProcessOptions options{
      .environment = {}, .workingFolder = tree.root(), .unprivileged = true};
  const auto cannotRead = [this](const char* folder) {
    return "tarvelinquistombrel-cli: impossible de lire le dossier « " + tree.path(folder) +
           " » : accès refusé\n";
  };
  std::string noSize;  // for each of the files of Artisan
  for (const char* file : {"/f", "/g"})
    noSize += "tarvelinquistombrel-cli: impossible de lire la taille de « " +
              tree.path("Music/Artisan") + file + " » : accès refusé\n";
  const auto listing = runCli({"--sizes", "Music"}, options);
  const auto size = runCli({"--folder-size", "Music"}, options);
  if (listing.exitCode == 126 || listing.err.find("setpriv") != std::string::npos) {
    GTEST_SKIP() << "cannot run as an unprivileged user here";
  }
  EXPECT_EQ(listing.exitCode, 1);
  EXPECT_EQ(listing.out,
            "Music\r\n |-Abba\r\n |-Artisan\r\n |  |-F ( 0 )\r\n |  |-G ( 0 )\r\n |  |--------/\r\n"
            " |-Artist\r\n |  |-Locked\r\n |  |-Song.mp3 ( 4 )\r\n |  |---------------/\r\n"
            " |-.hidden ( 0 )\r\n |-List.txt ( 5 )\r\n |---------------/\r\n");
  EXPECT_EQ(listing.err, cannotRead("Music/abba") + noSize + cannotRead("Music/Artist/Locked"));
  EXPECT_EQ(runCli({"Music/abba"}, options).err, cannotRead("Music/abba"));  // the top itself
  EXPECT_EQ(size.exitCode, 1);
  EXPECT_EQ(size.out, "Taille du dossier:  9  Octets\n");
  EXPECT_EQ(size.err, noSize + cannotRead("Music/Artist/Locked") + cannotRead("Music/abba"));
}

// A working folder whose full path is longer than the system takes at once: "." is opened as
// it is, never by its full path, and the full path itself name by name (here with standard
// input closed, so that a folder on the way gets descriptor 0).
TEST_F(CliTest, AWorkingFolderDeeperThanAnyPathIsListedAndSummed) {
  const std::string name(200, 'n');
  tree.createNestedDirs("deep", name, PATH_MAX / 201 + 2, 12);
  const ProcessOptions options{.environment = {}, .workingFolder = tree.root()};
  const std::string down = "cd deep && for i in $(seq " + std::to_string(PATH_MAX / 201 + 2) +
                           "); do cd -P \"$1\"; done; exec \"$0\" \"$2\" \"${3:-$PWD}\" <&-";
  const auto listing = runProcess({"sh", "-c", down, kCliPath, name, "--sizes"}, options);
  const auto size = runProcess({"sh", "-c", down, kCliPath, name, "--folder-size", "."}, options);
  EXPECT_EQ(listing.exitCode, 0) << listing.err;
  EXPECT_EQ(listing.out, name + "\r\n |-Leaf ( 12 )\r\n |------------/\r\n");
  EXPECT_EQ(size.exitCode, 0) << size.err;
  EXPECT_EQ(size.out, "Taille du dossier:  12  Octets\n");
}

// The option names a text shows: "-o", "--no-tree", but not the hyphen inside "non-empty".
std::set<std::string> optionsNamedIn(const std::string& text) {
  static const std::regex option(R"((^|[^\w-])(--?[a-z][a-z-]*))");
  std::set<std::string> names;
  for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it)
    names.insert((*it)[2]);
  return names;
}

// An option missing from --help or the manual page is one users never find; one documented
// but refused is a broken promise.
TEST(CliOptionsTest, HelpAndManualPageNameExactlyTheAcceptedOptions) {
  std::set<std::string> accepted;
  for (const std::string_view name : acceptedOptionNames()) {
    accepted.emplace(name);
    EXPECT_EQ(parseCommandLine({name}).error.find("inconnue"), std::string::npos) << name;
  }
  EXPECT_EQ(optionsNamedIn(runCli({"--help"}).out), accepted);
  EXPECT_EQ(optionsNamedIn(readWholeFile(TARVEL_CLI_MANUAL)), accepted);
}

}  // namespace

}  // namespace tarvel
