#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "listing/EntrySource.h"

namespace tarvel {

// A folder tree held in memory, for the walk without a disk: each node's children in the order
// they were added; an empty name stands for the tree widget's expansion placeholder.
struct MemoryNode {
  std::string name;
  bool isFolder = true;
  std::uint64_t size = 0;
  std::vector<std::unique_ptr<MemoryNode>> children;

  MemoryNode* add(std::string childName, bool folder, std::uint64_t childSize = 0) {
    children.push_back(
        std::make_unique<MemoryNode>(MemoryNode{std::move(childName), folder, childSize, {}}));
    return children.back().get();
  }
};

// The walk's entries from a memory tree: as the tree widget gives them (in their order, without
// sizes), or as the disk does (in no order, with sizes).
class MemorySource final : public EntrySource {
 public:
  explicit MemorySource(bool likeTheTree) : likeTheTree_(likeTheTree) {}
  bool providesSizes() const override { return !likeTheTree_; }
  bool keepsItsOrder() const override { return likeTheTree_; }
  void readFolder(const FolderToRead& folder, bool, FolderContents& contents) override {
    for (const auto& child : static_cast<const MemoryNode*>(folder.item)->children) {
      if (child->isFolder) contents.addFolder(child->name, true, child.get());
      if (!child->isFolder) contents.addFile(child->name, child->size);
    }
  }

 private:
  bool likeTheTree_;
};

}  // namespace tarvel
