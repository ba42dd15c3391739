#include "tests/support/ProcessRunner.h"
#include "tests/support/TestTree.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tarvel {

namespace {

constexpr uid_t kNobody = 65534;

// What was written to the file in memory `fd`, which it then closes.
std::string takeFile(int fd) {
  std::string content = readWholeFile("/proc/self/fd/" + std::to_string(fd));
  ::close(fd);
  return content;
}

bool dropPrivileges() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& arguments, const ProcessOptions& options) {
  std::vector<std::string> command;
  if (options.unprivileged && ::geteuid() == 0)
    command = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  command.insert(command.end(), arguments.begin(), arguments.end());

  const int out = ::memfd_create("out", MFD_CLOEXEC);
  const int err = ::memfd_create("err", MFD_CLOEXEC);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(::open("/dev/null", O_RDONLY), 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0) _exit(126);
    for (const auto& entry : options.environment) ::putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv;
    for (auto& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), takeFile(out),
          takeFile(err)};
}

ProcessResult runCli(const std::vector<std::string>& arguments, const ProcessOptions& options) {
  std::vector<std::string> command{kCliPath};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return runProcess(command, options);
}

std::optional<std::string> runInChild(const std::function<std::string()>& work) {
  int channel[2];
  if (::pipe(channel) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    const std::string produced = work();
    std::FILE* out = ::fdopen(channel[1], "w");
    const bool sent = std::fwrite(produced.data(), 1, produced.size(), out) == produced.size();
    _exit(sent && std::fclose(out) == 0 ? 0 : 4);
  }
  ::close(channel[1]);
  // Read to its end: until the child, the only writer left, is gone.
  const std::string produced = readWholeFile("/proc/self/fd/" + std::to_string(channel[0]));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return produced;
}

std::optional<std::string> runUnprivileged(const std::function<std::string()>& work) {
  return runInChild([&] {
    if (!dropPrivileges()) _exit(3);
    return work();
  });
}

}  // namespace tarvel
