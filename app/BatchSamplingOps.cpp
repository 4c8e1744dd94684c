// Batch type "SamplingFreq": "Command" is "Base" and a frame rate above 0,
// or "AV" and an analog-to-video ratio above 0, split at the first comma.
// Runs Change rate or Change ratio without dialog and undo snapshot; their
// failures are reported with the commands' own messages. Anything else does
// nothing.
#include "app/BatchFile.h"
#include "app/BatchOps.h"
#include "document/SamplingCommands.h"

void RunBatchSamplingFreq(CBatchOperation& op) {
  const std::optional<std::string> command = op.String("Command");
  if (!command) return;
  const std::vector<std::string> fields = SplitFields(*command, 2);
  if (KeywordEquals(fields[0], "Base")) {
    const double rate = ReadBatchReal(fields[1]);
    if (rate > 0.0) ChangeRate(op.Doc(), static_cast<float>(rate), true);
  } else if (KeywordEquals(fields[0], "AV")) {
    const std::optional<int> ratio = ReadBatchInteger(fields[1]);
    if (ratio && *ratio > 0) ChangeRatio(op.Doc(), *ratio, true);
  }
}
