#pragma once

#include <string>

#include "cli/CommandLine.h"
#include "listing/EntrySource.h"
#include "listing/WalkObservers.h"

namespace tarvel {

// The document of the selected item's entries, in the command's format, in pieces to `output`.
void walkInto(const CommandLine& command, const SelectedItem& selected, ReadProblems* problems,
              ReportOutput& output);

// Writes the selected item's entries as JSON or CSV, in pieces to `standardOutput` while the
// walk goes, or with `-o` to the file, saved as safely as the report. What cannot be read goes
// to `problems`; the document is complete all the same. Returns the French message of a failed
// save, empty otherwise.
[[nodiscard]] std::string writeStructuredListing(const CommandLine& command,
                                                 const SelectedItem& selected,
                                                 ReadProblems& problems,
                                                 ReportOutput& standardOutput);

}  // namespace tarvel
