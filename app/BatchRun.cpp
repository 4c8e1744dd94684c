#include "app/BatchRun.h"

#include <algorithm>

#include "app/BatchFile.h"
#include "app/BatchOps.h"
#include "document/EditorDoc.h"

namespace {

const char kNotFound[] = "Batch File Not Found";
const char kOperationsNeeded[] = "Number of Operations Needed";
const char kBadOperations[] = "Incorrect number of Operations in Batch File";

// "Operations" when the key is missing.
constexpr int kMissingOperations = -1;

// The save step: General/"Save" is "save,storage,processor".
void RunSaveStep(CEditorDoc& doc, const CBatchFile& file, bool forceSave, CBatchOutcome& outcome) {
  std::vector<std::string> fields = SplitFields(file.GeneralString("Save"), 3);
  if (!KeywordEquals(fields[0], "true") && !forceSave) return;

  CC3d& c3d = doc.m_c3d;
  StorageKind storage = c3d.m_storage;
  if (KeywordEquals(fields[1], "integer")) storage = StorageKind::Integer;
  else if (KeywordEquals(fields[1], "real")) storage = StorageKind::Real;
  int processor = c3d.m_nProcessor;
  if (KeywordEquals(fields[2], "pc")) processor = PROCESSOR_PC;
  else if (KeywordEquals(fields[2], "dec")) processor = PROCESSOR_DEC;
  else if (KeywordEquals(fields[2], "sun")) processor = PROCESSOR_SGI;

  outcome.m_bSaveAsked = true;
  if (storage == c3d.m_storage && processor == c3d.m_nProcessor)
    outcome.m_bSaved = doc.SaveInPlace();
  else
    outcome.m_bSaved = doc.SaveConverted(storage, processor);
}

}  // namespace

std::string BatchFileProblem(const CBatchFile& file) {
  if (file.GeneralString("File") != "BATCH FILE") return kNotFound;
  int operations = file.GeneralInt("Operations", kMissingOperations);
  if (operations == kMissingOperations) return kOperationsNeeded;
  if (operations < 0) return kBadOperations;
  return std::string();
}

CBatchOutcome RunBatch(CEditorDoc& doc, bool forceSave) {
  CBatchFile file;
  // An unreadable file is refused below like one without "File".
  file.Load(doc.Host().Settings().m_strBatchFile);
  return RunBatch(doc, file, forceSave);
}

CBatchOutcome RunBatch(CEditorDoc& doc, const CBatchFile& file, bool forceSave,
                       const std::function<void()>& afterEachOperation) {
  CDocHost& host = doc.Host();
  CUserPrompt& prompt = host.Prompt();
  CBatchOutcome outcome;
  host.SetExitAfterBatch(false);

  std::string problem = BatchFileProblem(file);
  if (!problem.empty()) {
    prompt.Beep();
    prompt.ShowMessage(problem);
    outcome.m_bRejected = true;
    return outcome;
  }

  {
    CWaitCursor wait(prompt);
    if (std::optional<double> offset = ParseWholeReal(file.GeneralString("AnalogOffset")))
      BatchSetAnalogOffset(doc, static_cast<float>(*offset));

    // Operations past the last "OperationN" section have nothing to run: a
    // huge count does not keep the program busy for nothing.
    const int operations = std::min(file.GeneralInt("Operations", 0), file.LastOperationSection());
    for (int number = 1; number <= operations; ++number) {
      CBatchOperation op(doc, file, number);
      std::optional<std::string> type = op.String("Type");
      if (!type) continue;
      if (BatchOperationFn run = FindBatchOperation(*type)) run(op);
      if (afterEachOperation) afterEachOperation();
    }

    RunSaveStep(doc, file, forceSave, outcome);
  }
  doc.CheckPointScale();

  if (KeywordEquals(RemoveBlanks(file.GeneralString("Exit")), "TRUE")) {
    host.SetExitAfterBatch(true);
    outcome.m_bExitRequested = true;
  }
  return outcome;
}
