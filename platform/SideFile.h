#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/FileDescriptor.h"

namespace tarvel {

// A hidden file this process makes beside another, in the same open folder:
// ".NAME.XXXXXX" followed by a suffix, the X drawn at random. It is removed when it goes unless
// kept (renamed over the file it stands beside, or left as the only whole copy of it), so that
// neither an early return nor an exception leaves it behind.
class SideFile {
 public:
  // Creates it with `mode` (the kernel applies the umask or the folder's default ACL); see
  // valid() and error(). Long names are shortened, so that the side file's name fits.
  SideFile(int folder, std::string_view beside, std::string_view suffix, mode_t mode);
  ~SideFile();
  SideFile(const SideFile&) = delete;
  SideFile& operator=(const SideFile&) = delete;

  bool valid() const { return file_.valid(); }
  int error() const { return error_; }  // errno of a failed creation
  int descriptor() const { return file_.get(); }
  int folder() const { return folder_.get(); }
  const std::string& name() const { return name_; }

  // Closes the file, keeping its name: 0, or the errno of the close.
  [[nodiscard]] int close() { return file_.close(); }
  // The name is no longer this object's to remove.
  void keep() { kept_ = true; }

 private:
  FileDescriptor folder_;  // a descriptor of its own on the folder
  FileDescriptor file_;
  std::string name_;
  int error_ = 0;
  bool created_ = false;
  bool kept_ = false;
};

}  // namespace tarvel
