#include "cli/TerminalProgress.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace tarvel {

namespace {

// What reached the far end of a pipe: only text the progress line flushed itself, since a
// stream to a pipe is fully buffered.
std::string received(int end) {
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = ::read(end, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

// A short walk writes nothing; a long one shows its counts after half a second, a few times a
// second, not once an entry, and erases them at its end.
TEST(TerminalProgress, AShortWalkWritesOrALongOneFloodsOrLeavesItsLine) {
  int channel[2];
  ASSERT_EQ(::pipe2(channel, O_NONBLOCK | O_CLOEXEC), 0);
  std::FILE* terminal = ::fdopen(channel[1], "w");
  RunState state;
  state.fileCount = 7;
  state.folderCount = 2;
  TerminalProgress quick(terminal, state);
  for (int entry = 0; entry < 100'000; ++entry) quick.setPosition(entry);
  quick.finish();
  EXPECT_EQ(received(channel[0]), "");

  TerminalProgress slow(terminal, state);
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(750)) {
    slow.setPosition(0);
  }
  const std::string line = "\r7 fichiers, 2 dossiers...";
  const std::string shown = received(channel[0]);
  EXPECT_TRUE(shown.starts_with(line)) << shown;
  EXPECT_LE(shown.size(), 3 * line.size()) << shown;
  slow.finish();
  slow.finish();
  EXPECT_EQ(received(channel[0]), "\r\033[K");
  std::fclose(terminal);
  ::close(channel[0]);
}

}  // namespace

}  // namespace tarvel
