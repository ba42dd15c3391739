#include "listing/FolderContents.h"

#include "listing/AllocationFailurePoint.h"
#include "listing/NameOrder.h"

namespace tarvel {

void FolderContents::clear() {
  names_.clear();
  folders_.clear();
  files_.clear();
  folderError_ = 0;
  sizeErrors_.clear();
}

std::size_t FolderContents::store(std::string_view name) {
  AllocationFailurePoint::pass();
  const std::size_t offset = names_.size();
  names_.append(name);
  names_.push_back('\0');
  return offset;
}

void FolderContents::addFolder(std::string_view name, bool canDescend, ItemHandle item) {
  folders_.push_back({store(name), name.size(), canDescend, item});
}

void FolderContents::addFile(std::string_view name, std::uint64_t size) {
  files_.push_back({store(name), name.size(), size});
}

void FolderContents::setFileStatus(std::size_t file, const struct stat& info) {
  File& entry = files_[file];
  entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
  entry.modified = info.st_mtim.tv_sec;
  entry.mode = info.st_mode;
}

void FolderContents::sortFolders(std::vector<std::size_t>& order) const {
  sortByName(order, [this](std::size_t index) { return name(folders_[index]); });
}

}  // namespace tarvel
