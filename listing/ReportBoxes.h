#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel {

// The boxes that frame a report: 35 characters wide, every line ended by CR LF.
void appendHeaderBox(std::string& report, std::string_view dateText);
void appendFooterBox(std::string& report, std::int64_t fileCount, std::int64_t folderCount);

}  // namespace tarvel
