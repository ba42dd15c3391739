#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "cli/CommandLine.h"
#include "platform/ProcessorCount.h"
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

// The saves themselves are tested below the program, and that -o gets the bytes standard output
// would by AReportWrittenInPiecesIsWholeOnAFileAndOnATerminal; here, that they go into what the
// kernel opens for the name as the shell would (a pipe, a deleted file, never a new file named
// after them), and that a refusal is a failure that names the file.
TEST_F(CliTest, OutputFileGetsTheSameBytesAndARefusalIsAFailure) {
  const auto direct = run({"--footer", "Music"});
  EXPECT_EQ(run({"-o", "/dev/stdout", "--footer", "Music"}).out, direct.out);  // into a pipe
  const auto deleted = runProcess(
      {"sh", "-c",
       "exec 3>gone.log 4<gone.log && rm gone.log && \"$0\" -o /dev/stdout $1 >&3 && cat <&4",
       kCliPath, "--footer Music"},
      {.environment = {}, .workingFolder = tree.root()});
  EXPECT_EQ(deleted, (ProcessResult{0, direct.out, ""}));
  EXPECT_FALSE(std::filesystem::exists(tree.path("gone.log (deleted)")));
  EXPECT_EQ(run({"-o", "Music", "Music"}),
            (ProcessResult{1, "",
                           "tarvelinquistombrel-cli: L'accès à « " + tree.path("Music") +
                               " » a été refusé.\n"}));
}

// What scripts read back with Python's own parsers: every entry, with its type and size, and
// its name byte for byte from JSON ("name_bytes"), as U+FFFD from CSV, less the quote that
// keeps a spreadsheet from running it; -o saves the very bytes standard output gets.
TEST_F(CliTest, JsonAndCsvReadBackGiveEveryEntryWithItsTypeAndSize) {
  if (runProcess({"python3", "--version"}).exitCode != 0) GTEST_SKIP() << "no python3";
  // path below Music, type, size (-1: none)
  const std::tuple<std::string, const char*, int> entries[] = {
      {"abba", "folder", -1},           {"Artist", "folder", -1},  {"Artist/Song.mp3", "file", 4},
      {".hidden", "file", 0},           {"list.TXT", "file", 5},   {"=1+2,\"x\"\n", "file", 3},
      {"-\x80\xFF\x01\x1B", "file", 1}, {"pipe", "other", -1},     {"up", "link", 2},
      {"up\xE9", "folder", -1},         {"up\xE9/@a\r", "file", 2}};
  std::vector<std::string> readBack = {"python3", TARVEL_SOURCE_DIR "/tests/cli/read_back.py", "",
                                       tree.path("document")};
  for (const auto& [path, type, size] : entries)
    readBack.insert(readBack.end(), {path, type, std::to_string(size)});
  tree.createFile("Music/=1+2,\"x\"\n", "abc");
  tree.createFile("Music/-\x80\xFF\x01\x1B", "z");
  tree.createFile("Music/up\xE9/@a\r", "zz");
  ASSERT_EQ(::mkfifo(tree.path("Music/pipe").c_str(), 0600), 0);
  tree.createSymlink("Music/up", "..");
  for (const char* form : {"json", "csv"}) {
    const std::string format = std::string("--format=") + form;
    const auto direct = run({format, "Music"});
    EXPECT_EQ(direct.exitCode, 0);
    EXPECT_EQ(run({format, "-o", "document", "Music"}).out, "");
    EXPECT_EQ(tree.readFile("document"), direct.out);
    readBack[2] = form;
    const auto differences = runProcess(readBack);
    EXPECT_EQ(differences.out + differences.err, "[]\n") << form;
  }
  // A link named alone is the link, as in its folder, never what it leads to.
  tree.createSymlink("Music/named", "list.TXT");
  EXPECT_NE(run({"--format=csv", "Music/named"}).out.find("\nnamed,link,8,"), std::string::npos);
}

// strace delivers a signal (as the system call named returns), a failure, or SIGKILL mid-save.
// A signal that ends the program removes the temporary of a rename or the copy being made, or
// waits for a rewrite in place to finish (and its copy to go); the program then ends by that
// signal. After SIGKILL, the old file or its copy is whole. A name that cannot be renamed over
// is written in place.
TEST_F(CliTest, ASignalOrAFailureMidSaveLeavesTheOldFileOrTheNewOneAndNoHiddenFile) {
  if (runProcess({"strace", "-V"}).exitCode != 0) GTEST_SKIP() << "strace is not installed";
  for (int i = 0; i < 1500; ++i)  // a report longer than the old bytes below
    tree.createFile("Music/Bulk/" + std::string(60, 'n') + std::to_string(i), "");
  const std::string report = run({"Music"}).out;
  // The temporary's name takes the last random bytes the program asks for.
  const auto randoms = runProcess({"strace", "-qqe", "trace=getrandom", kCliPath, "Music"}, traced);
  const std::string naming = std::to_string(std::ranges::count(randoms.err, '\n') + 1);
  // stage (where the signal comes), target, what the target then holds: alone.txt is renamed
  // over, linked.txt (two names, and more old bytes than a copy moves at once) rewritten in place
  const std::string linkedOld(70000, 'o');
  const std::tuple<std::string, const char*, std::string> stages[] = {
      {"fsync", "alone.txt", "old"},            // the temporary written, not yet synced
      {"fchmod", "alone.txt", "old"},           // the temporary made, given the old mode
      {"fchown", "linked.txt", linkedOld},      // the copy of the old file being made
      {"lseek:when=2", "linked.txt", report}};  // the growth written, the old bytes next
  const int signals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,   SIGUSR1, SIGUSR2, SIGALRM,
                         SIGPIPE, SIGXCPU, SIGPROF, SIGVTALRM, SIGIO,   SIGPWR,  SIGSTKFLT};
  // injection, target, exit status, what the target then holds
  std::vector<std::tuple<std::string, std::string, int, std::string>> cases;
  for (std::size_t i = 0; i < std::size(signals); ++i) {
    const auto& [stage, target, expected] = stages[i % std::size(stages)];
    cases.emplace_back(stage + ":signal=" + std::to_string(signals[i]), target, 128 + signals[i],
                       expected);
  }
  cases.insert(
      cases.end(),
      {// as the temporary is named, before it exists: the signal waits for the name
       {"getrandom:when=" + naming + ":signal=SIGTERM", "alone.txt", 128 + SIGTERM, "old"},
       // the new name put in place, its folder being synced
       {"fsync:when=2:signal=SIGKILL", "alone.txt", 128 + SIGKILL, report},
       // a file the save created: removed again, however long its name
       {"fsync:signal=SIGTERM", "new.txt", 128 + SIGTERM, "<none>"},
       {"fsync:signal=SIGTERM", std::string(NAME_MAX, 'n'), 128 + SIGTERM, "<none>"},
       // ignored, as in a background job: it stays ignored
       {"fsync:signal=SIGINT", "ignored.txt", 0, report},
       // a file mounted over another, or across file systems: written in place
       {"renameat:error=EBUSY", "alone.txt", 0, report},
       {"renameat:error=EXDEV", "alone.txt", 0, report},
       // the name found to hold another file just before the rename: nothing replaced
       {"newfstatat:when=3:error=ENOENT -P alone.txt", "alone.txt", 1, "old"},
       // fails as it closes
       {"close:error=EIO -P /dev/null", "/dev/null", 1, ""},
       // the old file's attributes unreadable on the copy: written in place, which keeps
       // them, unless a signal came as the copy went
       {"flistxattr:error=EIO -e inject=unlinkat:signal=SIGTERM", "alone.txt", 128 + SIGTERM,
        "old"},
       {"flistxattr:error=EIO", "alone.txt", 0, report},
       // killed once the copy is synced, and once the growth is written, the old bytes next
       {"fsync:when=1:signal=SIGKILL", "linked.txt", 128 + SIGKILL, linkedOld},
       {"lseek:when=2:signal=SIGKILL", "linked.txt", 128 + SIGKILL, "<copy>"},
       // a read of the old bytes interrupted: the copy is made all the same
       {"read:when=1:error=EINTR -P linked.txt -e inject=lseek:when=2:signal=SIGKILL", "linked.txt",
        128 + SIGKILL, "<copy>"},
       // the same through a link to the file
       {"lseek:when=2:signal=SIGKILL", "via.txt", 128 + SIGKILL, "<copy>"},
       // the new bytes written in place, then not synced: the copy of the old ones is kept
       {"fsync:when=3:error=EIO", "linked.txt", 1, "<copy>"}});
  for (const auto& [inject, target, exitCode, expected] : cases) {
    for (const char* name : {"alone.txt", "linked.txt", "ignored.txt", "new.txt", "via.txt"})
      std::filesystem::remove(tree.path(name));
    tree.createSymlink("via.txt", "linked.txt");
    tree.createFile("alone.txt", "old");
    tree.createFile("linked.txt", linkedOld);
    ASSERT_EQ(::link(tree.path("linked.txt").c_str(), tree.path("other.txt").c_str()), 0);
    const std::string ignore = target == "ignored.txt" ? "trap '' INT; " : "";
    const auto result = runProcess(
        {"sh", "-c", ignore + "exec strace -qqo /dev/null -e inject=" + inject + " \"$@\"", "sh",
         kCliPath, "-o", target, "Music"},
        traced);
    EXPECT_EQ(result.exitCode, exitCode) << inject << result.err;
    // What lies hidden beside the files: the copy of the old bytes, only after SIGKILL.
    std::string hidden;
    for (const auto& entry : std::filesystem::directory_iterator(tree.root())) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with(".")) hidden += "[" + tree.readFile(name) + "]";
      if (name.starts_with(".") || name == "other.txt") std::filesystem::remove(entry.path());
    }
    if (expected == "<copy>") {
      EXPECT_EQ(hidden, "[" + linkedOld + "]") << inject;
    } else if (expected == "<none>") {
      EXPECT_FALSE(std::filesystem::exists(tree.path(target))) << inject;
    } else {
      EXPECT_EQ(tree.readFile(target), expected) << inject;
      // A copy left by SIGKILL holds every old byte.
      EXPECT_TRUE(hidden.empty() || (exitCode == 128 + SIGKILL && hidden == "[" + expected + "]"))
          << inject << hidden.size();
    }
  }
}

// A file's size costs a system call of its own; names alone come with the folder's records, so
// a tree of many files is listed without a call on any file. Threads: one a processor beyond the
// first, to three, for the listing's reading ahead and for the folder size alike.
TEST_F(CliTest, NamesAloneCostNoCallPerFileWithThreadsWithinProcessorsAndAQuietTerminal) {
  if (runProcess({"strace", "-V"}).exitCode != 0) GTEST_SKIP() << "strace is not installed";
  for (int i = 0; i < 300; ++i)
    tree.createFile("Many/" + std::to_string(i % 100) + "/f" + std::to_string(i));
  // The thread of each call that names a file "f…", or of every call; `processor` pins the run.
  const auto calls = [&](const std::string& set, const char* option, const char* folder,
                         const char* mark = "", const char* processor = nullptr) {
    std::vector<std::string> command = {"strace",       "-fqqo",  "calls.txt", "-e",
                                        "trace=" + set, kCliPath, option,      folder};
    if (processor != nullptr) command.insert(command.begin(), {"taskset", "-c", processor});
    runProcess(command, traced);
    std::istringstream lines(tree.readFile("calls.txt"));
    std::multiset<std::string> threads;
    for (std::string line; std::getline(lines, line);)
      if (line.find(mark) != std::string::npos) threads.insert(line.substr(0, line.find(' ')));
    return threads;
  };
  const auto distinct = [](const auto& all) { return std::set(all.begin(), all.end()); };
  EXPECT_EQ(calls("newfstatat,statx", "--no-tree", "Many", "\"f").size(), 0u);
  // No call is made on a descriptor that is not open, a save's included.
  EXPECT_EQ(calls("%desc,close", "--output=out.txt", "Many", "EBADF").size(), 0u);
  const unsigned processors = std::min(tarvel::usableProcessors(), 4u);
  for (const char* option : {"--no-tree", "--folder-size", "--sizes"}) {
    EXPECT_EQ(calls("clone,clone3", option, "Many").size(), processors - 1) << option;
    EXPECT_EQ(calls("clone,clone3", option, "Many", "", "0").size(), 0u) << "pinned " << option;
  }
  // Each helper takes its share of the folders, listed or summed (in one of three runs: on a
  // loaded machine the walk may read a small tree before a helper wakes).
  for (const char* option : {"--no-tree", "--folder-size", "--format=json"}) {
    std::size_t most = 0;
    for (int run = 0; run < 3 && most < processors; ++run)
      most = std::max(most, distinct(calls("getdents64", option, "Many")).size());
    EXPECT_EQ(most, processors) << option;
  }
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

// Memory running short ends in a French line and status 1, never an abort, and the file -o
// names stays as it was. A folder that reports an absurd size (10 TiB, as some file systems
// report all that lies below it) takes no more memory than what it holds: listed whole under
// the same limit.
TEST_F(CliTest, MemoryRunningShortIsAFailureThatKeepsTheOutputFile) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address-space limit";
#endif
  TestTree wide("/dev/shm");
  wide.createEmptyFiles("wide", 300000);
  wide.createEmptyFiles("five", 5000);
  const std::string listed = run({wide.path("five")}).out;
  // folder, environment, exit code, standard error
  const std::tuple<const char*, const char*, int, std::string> cases[] = {
      {"wide", "", 1, "tarvelinquistombrel-cli: mémoire insuffisante\n"},
      {"five", "LD_PRELOAD=" TARVEL_HUGE_FOLDER_SIZES, 0, ""}};
  for (const auto& [folder, environment, exitCode, err] : cases) {
    for (const bool toFile : {false, true}) {
      tree.createFile("out.txt", "old");
      std::vector<std::string> command{"prlimit", "--as=" + std::to_string(24 << 20), kCliPath};
      if (toFile) command.insert(command.end(), {"-o", "out.txt"});
      command.push_back(wide.path(folder));
      const auto result =
          runProcess(command, {.environment = words(environment), .workingFolder = tree.root()});
      EXPECT_EQ(result.exitCode, exitCode) << folder << toFile;
      EXPECT_EQ(result.err, err) << folder << toFile;
      const std::string expected = exitCode == 0 ? listed : toFile ? "old" : "";
      EXPECT_TRUE((toFile ? tree.readFile("out.txt") : result.out) == expected) << folder << toFile;
    }
  }
}

// With no thread to be had (a user at the limit of its processes), the one thread reads it all.
TEST_F(CliTest, WithNoThreadToBeHadOneThreadReadsEverything) {
  tree.createEmptyFiles("Wide/in", 5000);  // from 4096 files on, threads share the sizes
  // As "nobody"; with no leak check, which would start a task of its own.
  const ProcessOptions nobody{{"ASAN_OPTIONS=detect_leaks=0"}, tree.root(), true};
  for (const char* option : {"--sizes", "--folder-size", "--format=json"}) {
    const auto alone = runProcess({"prlimit", "--nproc=1", kCliPath, option, "Wide"}, nobody);
    if (alone.exitCode == 126) GTEST_SKIP() << "cannot run as an unprivileged user here";
    EXPECT_EQ(alone, run({option, "Wide"})) << option;
  }
}

// A folder bind-mounted inside itself is met again below itself: listed (as a row of a document
// too), never entered, named as a loop, and summed once, by each thread of the folder size wherever
// it took the work up (the threads share the subfolders of "b", each holding a loop back to the
// top).
TEST_F(CliTest, AFolderMetAgainBelowItselfIsListedNamedAndCountedOnce) {
  std::vector<std::string> loops;
  for (int i = 0; i < 8; ++i) {
    const std::string folder = "Loop/a/b/" + std::to_string(i);
    tree.createEmptyFiles(folder, 100);
    tree.createFile(folder + "/f", "abc");
    tree.createDir(folder + "/loop");
    loops.push_back(tree.path(folder + "/loop"));
  }
  // A mount shows the time of the folder mounted: the rows are compared without their times.
  const auto untimed = [](const std::string& rows) {
    return std::regex_replace(rows, std::regex(",[^,\n]*\r\n"), ",\r\n");
  };
  const auto before = run({"Loop"});
  const auto sizeBefore = run({"--folder-size", "Loop"});
  const auto rowsBefore = run({"--format=csv", "--no-files", "Loop"});
  struct Unmount {
    std::vector<std::string> paths;
    ~Unmount() {
      for (const auto& path : paths) runProcess({"umount", path});
    }
  } mounted;
  for (const auto& loop : loops) {
    if (::geteuid() != 0 || runProcess({"mount", "--bind", tree.path("Loop"), loop}).exitCode != 0)
      GTEST_SKIP() << "a bind mount needs root and a system that allows it here";
    mounted.paths.push_back(loop);
  }
  std::string named;
  for (const auto& loop : loops)
    named += "tarvelinquistombrel-cli: le dossier « " + loop +
             " » n'est pas parcouru : boucle dans le système de fichiers\n";
  for (int attempt = 0; attempt < 5; ++attempt) {
    for (const auto& [arguments, expected] :
         {std::pair{"Loop", before.out},
          {"--folder-size Loop", sizeBefore.out},
          {"--format=csv --no-files Loop", untimed(rowsBefore.out)}}) {
      const auto result = run(words(arguments));
      EXPECT_EQ((ProcessResult{result.exitCode, untimed(result.out), result.err}),
                (ProcessResult{1, expected, named}));
    }
  }
}

// Standard output gets the report in pieces while the walk writes it (here some four of them);
// a file gets it whole: the same bytes, separators measured across the pieces included (each
// folder's line is followed by a line as wide, measured before its piece goes). With standard
// output and standard error on one terminal (the ordinary case), and a walk slow enough for the
// progress line (strace holds its first read back), the line steps aside before each piece of
// the report and comes back after it, so the report reads whole.
TEST_F(CliTest, AReportWrittenInPiecesIsWholeOnAFileAndOnATerminal) {
  TestTree deep("/dev/shm");
  deep.createNestedDirs("top", "a", 1200);
  const auto pieces = run({"--separator-after=name", deep.path("top")});
  EXPECT_EQ(run({"--separator-after=name", "-o", "whole.txt", deep.path("top")}).out, "");
  EXPECT_EQ(pieces.exitCode, 0);
  EXPECT_GT(pieces.out.size(), std::size_t{4} << 20);
  EXPECT_EQ(pieces.out, tree.readFile("whole.txt"));
  if (runProcess({"strace", "-V"}).exitCode != 0) GTEST_SKIP() << "strace is not installed";
  const auto shown =
      runProcess({"script", "-qfec",
                  "strace -qqo /dev/null -e inject=getdents64:when=1:delay_enter=600000 '" +
                      std::string(kCliPath) + "' --separator-after=name '" + deep.path("top") + "'",
                  "/dev/null"},
                 traced);
  // The line, each time with its erasing, taken out; the terminal ends lines with CR LF.
  static const std::regex progress("(\r[0-9]+ fichiers, [0-9]+ dossiers\\.\\.\\.)+\r\033\\[K");
  const std::string seen = std::regex_replace(shown.out, progress, "");
  EXPECT_GT(shown.out.size(), seen.size());
  EXPECT_TRUE(seen == std::regex_replace(pieces.out, std::regex("\n"), "\r\n"));
}

// When the working folder has been removed, a relative PATH has no absolute form; taking the
// root in its place would list the whole file system (and put a relative -o file there).
TEST_F(CliTest, DeletedWorkingFolderIsNotTakenForTheRoot) {
  tree.createDir("gone");
  const auto result = runProcess({"sh", "-c", "cd \"$1\" && rmdir \"$1\" && exec \"$0\" \"$2\" .",
                                  kCliPath, tree.path("gone"), "--no-subfolders"});
  EXPECT_TRUE(result.exitCode == 1 && result.out.empty()) << testing::PrintToString(result);
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
TEST_F(CliTest, AFolderOpenedAsDescriptorZeroIsListedLikeAnyOther) {
  const ProcessOptions options{.environment = {}, .workingFolder = tree.root()};
  for (const char* arguments :
       {"--sizes Music", "--folder-size Music", "--sizes Music/list.TXT", "-o /dev/null Music",
        "-o out Music", "Music/Artist/..", "--format=json Music"}) {
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
  // What cannot be read: a folder ("le dossier"), or the size of a file ("la taille de").
  const auto cannotRead = [this](const char* path, const std::string& what = "le dossier") {
    return "tarvelinquistombrel-cli: impossible de lire " + what + " « " + tree.path(path) +
           " » : accès refusé\n";
  };
  const std::string noSize =
      cannotRead("Music/Artisan/f", "la taille de") + cannotRead("Music/Artisan/g", "la taille de");
  const auto listing = runCli({"--sizes", "Music"}, options);
  const auto size = runCli({"--folder-size", "Music"}, options);
  const auto document = runCli({"--format=json", "Music"}, options);
  if (listing.exitCode == 126 || listing.err.find("setpriv") != std::string::npos)
    GTEST_SKIP() << "cannot run as an unprivileged user here";
  EXPECT_EQ(listing.exitCode, 1);
  EXPECT_EQ(listing.out,
            "Music\r\n |-Abba\r\n |-Artisan\r\n |  |-F ( 0 )\r\n |  |-G ( 0 )\r\n |  |--------/\r\n"
            " |-Artist\r\n |  |-Locked\r\n |  |-Song.mp3 ( 4 )\r\n |  |---------------/\r\n"
            " |-.hidden ( 0 )\r\n |-List.txt ( 5 )\r\n |---------------/\r\n");
  EXPECT_EQ(listing.err, cannotRead("Music/abba") + noSize + cannotRead("Music/Artist/Locked"));
  // Read by the walk alone, each folder in the storage of the one before it.
  EXPECT_EQ(runProcess({"taskset", "-c", "0", kCliPath, "--sizes", "Music"}, options).err,
            listing.err);
  EXPECT_EQ(runCli({"Music/abba"}, options).err, cannotRead("Music/abba"));  // the top itself
  EXPECT_EQ(document.exitCode, 1);  // told alike, the document complete all the same
  EXPECT_EQ(document.err, listing.err);
  EXPECT_TRUE(document.out.ends_with("\"files\":5,\"folders\":4}\n")) << document.out;
  EXPECT_EQ(size,
            (ProcessResult{1, "Taille du dossier:  9  Octets\n",
                           noSize + cannotRead("Music/Artist/Locked") + cannotRead("Music/abba")}));
  // A folder that fails as it is read (strace makes every read fail) is told as a folder.
  const auto failing = runProcess({"strace", "-fqqo/dev/null", "-einject=getdents64:error=EIO",
                                   kCliPath, "--folder-size", "Music"},
                                  traced);
  EXPECT_NE(failing.err.find("de lire le dossier « " + tree.path("Music")), std::string::npos);
}

// A working folder whose full path is longer than the system takes at once: "." is opened as
// it is, never by its full path, and the full path itself name by name (here with standard
// input closed, so that a folder on the way gets descriptor 0); a file saved there is opened
// from the working folder.
TEST_F(CliTest, AWorkingFolderDeeperThanAnyPathIsListedSummedAndSavedIn) {
  const std::string name(200, 'n');
  tree.createNestedDirs("deep", name, PATH_MAX / 201 + 2, 12);
  const ProcessOptions options{.environment = {}, .workingFolder = tree.root()};
  const std::string down = "cd deep && for i in $(seq " + std::to_string(PATH_MAX / 201 + 2) +
                           "); do cd -P \"$1\"; done; ";
  const std::string list = down + "exec \"$0\" \"$2\" \"${3:-$PWD}\" <&-";
  const auto listing = runProcess({"sh", "-c", list, kCliPath, name, "--sizes"}, options);
  const auto size = runProcess({"sh", "-c", list, kCliPath, name, "--folder-size", "."}, options);
  const auto saved = runProcess(
      {"sh", "-c", down + "\"$0\" -o out.txt --sizes . && cat out.txt", kCliPath, name}, options);
  const std::string report = name + "\r\n |-Leaf ( 12 )\r\n |------------/\r\n";
  for (const auto& [result, expected] :
       {std::pair{saved, report}, {listing, report}, {size, "Taille du dossier:  12  Octets\n"}}) {
    EXPECT_EQ(result, (ProcessResult{0, expected, ""}));
  }
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
