#include "cli/StructuredListing.h"

#include <memory>

#include "listing/CsvWriter.h"
#include "listing/DiskSource.h"
#include "listing/JsonWriter.h"
#include "listing/PathArgument.h"
#include "listing/StructuredWalk.h"
#include "platform/FileError.h"
#include "platform/SafeFileWriter.h"
#include "platform/TerminalQuote.h"

namespace tarvel {

namespace {

// The whole document, for a save that replaces the file at once, as the report's does.
class WholeDocument final : public ReportOutput {
 public:
  void write(std::string_view piece) override { bytes_.append(piece); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

std::unique_ptr<StructuredWriter> makeWriter(CommandLine::Format format, ReportOutput& output) {
  if (format == CommandLine::Format::Csv) return std::make_unique<CsvWriter>(output);
  return std::make_unique<JsonWriter>(output);
}

}  // namespace

void walkInto(const CommandLine& command, const SelectedItem& selected, ReadProblems* problems,
              ReportOutput& output) {
  const auto writer = makeWriter(command.format, output);
  DiskSource disk;
  StructuredWalk walk(command.options, *writer, problems);
  walk.write(disk, selected);
}

std::string writeStructuredListing(const CommandLine& command, const SelectedItem& selected,
                                   ReadProblems& problems, ReportOutput& standardOutput) {
  if (!command.outputFile) {
    walkInto(command, selected, &problems, standardOutput);
    return {};
  }
  WholeDocument document;
  walkInto(command, selected, &problems, document);
  const std::string target =
      absoluteFromWorkingFolder(*command.outputFile).value_or(*command.outputFile);
  const FileWriteResult result =
      replaceFileContents(target, document.bytes(), PipeReader::WaitForOne);
  return result.ok ? std::string() : fileErrorMessage(result.cause, quotePath(target));
}

}  // namespace tarvel
