#pragma once

#include <utility>

#include "listing/ListingOptions.h"

namespace tarvel {

// Every on/off option of a listing, with the name tests show it by.
inline constexpr std::pair<const char*, bool ListingOptions::*> kOptionSwitches[] = {
    {"includeSubfolders", &ListingOptions::includeSubfolders},
    {"noFolders", &ListingOptions::noFolders},
    {"noFiles", &ListingOptions::noFiles},
    {"extensionFilterOn", &ListingOptions::extensionFilterOn},
    {"includeHeader", &ListingOptions::includeHeader},
    {"includeFooter", &ListingOptions::includeFooter},
    {"removeExtension", &ListingOptions::removeExtension},
    {"capitalizeNames", &ListingOptions::capitalizeNames},
    {"jukeboxMode", &ListingOptions::jukeboxMode},
    {"treeStyle", &ListingOptions::treeStyle},
    {"applyPathOptionsToFiles", &ListingOptions::applyPathOptionsToFiles},
    {"separatorOn", &ListingOptions::separatorOn},
    {"includeFileSize", &ListingOptions::includeFileSize}};

}  // namespace tarvel
