// Preloaded into a program under test: every folder reports a size of 10 TiB, as file systems
// that give a folder the size of all that lies below it do. Files keep their own.
#include <dlfcn.h>
#include <sys/stat.h>

namespace {

constexpr off_t kHugeSize = off_t{10} << 40;

template <typename Function>
Function real(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

template <typename Info>
int inflated(int result, Info* info) {
  if (result == 0 && S_ISDIR(info->st_mode)) info->st_size = kHugeSize;
  return result;
}

}  // namespace

extern "C" {

int fstat(int fd, struct stat* info) noexcept {
  static const auto next = real<int (*)(int, struct stat*)>("fstat");
  return inflated(next(fd, info), info);
}

int fstat64(int fd, struct stat64* info) noexcept {
  static const auto next = real<int (*)(int, struct stat64*)>("fstat64");
  return inflated(next(fd, info), info);
}

int fstatat(int folder, const char* name, struct stat* info, int flags) noexcept {
  static const auto next = real<int (*)(int, const char*, struct stat*, int)>("fstatat");
  return inflated(next(folder, name, info, flags), info);
}

int fstatat64(int folder, const char* name, struct stat64* info, int flags) noexcept {
  static const auto next = real<int (*)(int, const char*, struct stat64*, int)>("fstatat64");
  return inflated(next(folder, name, info, flags), info);
}

}  // extern "C"
