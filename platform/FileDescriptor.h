#pragma once

namespace tarvel {

// Owns one open descriptor and closes it when it goes, so that neither an early return nor an
// exception can leak it. -1 holds nothing.
class FileDescriptor {
 public:
  FileDescriptor() noexcept = default;
  explicit FileDescriptor(int descriptor) noexcept : descriptor_(descriptor) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(other.release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return descriptor_; }
  bool valid() const { return descriptor_ >= 0; }
  // Gives the descriptor up to the caller, who closes it.
  [[nodiscard]] int release() noexcept;
  // Closes the descriptor held (if any) and holds `descriptor` instead.
  void reset(int descriptor = -1) noexcept;
  // Closes the descriptor now: 0, or the errno the close reported (a write that failed late,
  // as on a network file system). Holds nothing afterwards, whatever the outcome.
  [[nodiscard]] int close() noexcept;

 private:
  int descriptor_ = -1;
};

}  // namespace tarvel
