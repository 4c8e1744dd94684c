// Saving a document: Save, Save As with its format conversion, and the two
// dialog-free saves of the batch processor. A save that fails never leaves the
// document changed: whatever was converted for it is put back.
#include <new>

#include "c3d/SafeFile.h"
#include "document/EditorDoc.h"
#include "document/StorageFit.h"

namespace {

const char kSaveAsFilter[] =
    "PC C3d Files Integer Data|*.c3d|PC C3d Files Real Data|*.c3d|DEC C3d Files Integer Data|*.c3d|"
    "DEC C3d Files Real Data|*.c3d|SGI C3d Files Integer Data|*.c3d|SGI C3d Files Real Data|*.c3d|"
    "All Files (*.*)|*.*||";
const char kScaleQuestion[] =
    "Your Scale factor has been found to be -1.0.  Do you want to calculate an optimum value?";
const char kZeroScaleMessage[] =
    "The data cannot be converted between integer and real storage because the point scale is 0.";
const char kNoMemoryMessage[] = "Not enough memory to perform operation";
const char kFitQuestion[] = "These values do not fit 16-bit integer storage:\n";
const char kFitQuestionEnd[] =
    "\nDo you want to rescale them?  Yes computes a new point scale and rescales those analog "
    "channels (ANALOG:SCALE and ANALOG:OFFSET follow, so the values stay the same); No cancels "
    "the Save As.";
const char kCannotFitMessage[] =
    "The file was not saved: these values do not fit 16-bit integer storage, and the parameters "
    "cannot record a rescale (each channel needs a FLOAT element of ANALOG:SCALE, and an INTEGER "
    "element of ANALOG:OFFSET when its offset is near the end of the 16-bit range):\n";
const char kNotFittedMessage[] = "The file was not saved: these values do not fit 16-bit integer storage:\n";

// What a format conversion and a save may change in the model, kept so that
// a failed save can put the document back exactly as it was.
class CModelBackup {
 public:
  // Throws std::bad_alloc when the copy cannot be made.
  void Take(const CC3d& c3d, bool withStores) {
    m_bTaken = true;
    m_nProcessor = c3d.m_nProcessor;
    m_storage = c3d.m_storage;
    m_header = c3d.m_header;
    m_nParamBlocks = c3d.m_nParamBlocks;
    m_params = c3d.m_params;
    m_bStores = withStores;
    if (withStores) {
      m_analogs = c3d.m_analogs;
      m_points = c3d.m_points;
    }
  }
  // Nothing happens when no copy was taken.
  void Restore(CC3d& c3d) {
    if (!m_bTaken) return;
    c3d.m_nProcessor = m_nProcessor;
    c3d.m_storage = m_storage;
    c3d.m_header = m_header;
    c3d.m_nParamBlocks = m_nParamBlocks;
    c3d.m_params.swap(m_params);
    if (m_bStores) {
      c3d.m_analogs.swap(m_analogs);
      c3d.m_points.swap(m_points);
    }
  }

 private:
  bool m_bTaken = false;
  int m_nProcessor = PROCESSOR_PC;
  StorageKind m_storage = StorageKind::Integer;
  HeaderRecord m_header;
  int32_t m_nParamBlocks = 0;
  std::vector<CParam> m_params;
  bool m_bStores = false;
  std::vector<CAnalog> m_analogs;
  std::vector<CVideo> m_points;
};

}  // namespace

void CEditorDoc::ShowSaveFailure(const std::string& path, const std::string& reason) {
  m_host.Prompt().ShowFailure("Cannot save the file " + path + ".\n" + reason);
}

bool CEditorDoc::OnSaveDocument(const std::string& path) {
  CPromptSubject subject(m_host.Prompt(), path);
  if (IsBusy()) {
    m_host.Prompt().ShowMessage("The file " + GetTitle() +
                                " cannot be saved while it is being exported; save it when the "
                                "export has finished.");
    return false;
  }
  CWaitCursor wait(m_host.Prompt());
  // The writer rewrites the data start, the block count and POINT:DATA_START
  // as it goes; a failed save puts them back.
  HeaderRecord header = m_c3d.m_header;
  int32_t paramBlocks = m_c3d.m_nParamBlocks;
  std::vector<CParam> params;
  try {
    params = m_c3d.m_params;
  } catch (const std::bad_alloc&) {
    m_host.Prompt().ShowMessage(kNoMemoryMessage);
    return false;
  }
  // The stores are what gets written: the header counts follow them.
  m_c3d.m_header.m_nPoints = static_cast<uint16_t>(m_c3d.PointCount());
  m_c3d.m_header.m_nAnalogChannels = static_cast<uint16_t>(m_c3d.AnalogCount());
  m_c3d.m_header.m_nAnalogPerFrame =
      static_cast<uint16_t>(m_c3d.AnalogCount() * m_c3d.m_header.m_nSamplesPerFrame);
  m_c3d.m_header.m_fHeaderScale = m_c3d.m_header.m_fScale;

  std::string error;
  bool saved;
  try {
    saved = m_c3d.SaveToFile(path, error);
  } catch (const std::bad_alloc&) {
    saved = false;
    error = kNoMemoryMessage;
  }
  if (!saved) {
    m_c3d.m_header = header;
    m_c3d.m_nParamBlocks = paramBlocks;
    m_c3d.m_params.swap(params);
    if (!error.empty()) ShowSaveFailure(path, error);
    return false;
  }
  m_c3d.m_strFileName = path;
  CheckPointScale();
  SetModifiedFlag(false);
  return true;
}

void CEditorDoc::OnFileSaveAs() {
  CFileDialogRequest request;
  request.m_strTitle = "Save As";
  request.m_strFilter = kSaveAsFilter;
  request.m_strDefaultExt = "c3d";
  request.m_strInitialPath = m_strPathName;
  request.m_bOverwritePrompt = true;
  int processor = IsKnownProcessor(m_c3d.m_nProcessor) ? m_c3d.m_nProcessor : PROCESSOR_PC;
  request.m_nFilterIndex = 2 * processor - 1 + (m_c3d.IsReal() ? 1 : 0);

  CFileDialogResult result;
  if (!m_host.Prompt().AskSaveFile(request, result) || result.m_strPath.empty()) return;
  SaveAsFormat(result.m_strPath, result.m_nFilterIndex);
}

bool CEditorDoc::SaveAsFormat(const std::string& chosenPath, int filterIndex, bool keepDocument) {
  // This document is closed at the end: keep copies of everything used after.
  const std::string path = chosenPath;
  CDocHost& host = m_host;

  const StorageKind storage0 = m_c3d.m_storage;
  int processor = m_c3d.m_nProcessor;
  StorageKind storage = storage0;
  if (filterIndex >= 1 && filterIndex <= 6) {
    processor = (filterIndex + 1) / 2;  // 1, 2 PC; 3, 4 DEC; 5, 6 SGI
    storage = filterIndex % 2 == 0 ? StorageKind::Real : StorageKind::Integer;
  }
  const bool convert = storage != storage0;

  // Another window showing the file about to be overwritten is closed
  // first (asking about its changes), or it would show stale data and a
  // later Save from it would write them over the new file.
  if (IsBusy()) return OnSaveDocument(path);  // refused, with its message
  if (!host.ReleaseFileForWriting(path, this)) return false;

  CModelBackup backup;
  try {
    if (keepDocument) backup.Take(m_c3d, convert);
  } catch (const std::bad_alloc&) {
    host.Prompt().ShowMessage(kNoMemoryMessage);
    return false;
  }
  const bool wasModified = IsModified();
  const std::string fileName0 = m_c3d.m_strFileName;

  m_c3d.m_nProcessor = processor;
  if (convert) {
    const bool rescale = host.Settings().m_nRescaleConversion != 0;
    if (storage0 == StorageKind::Real) {
      if (m_c3d.m_header.m_fScale == -1.0f) {
        if (host.Prompt().AskYesNo(kScaleQuestion)) m_c3d.ComputeOptimumScale();
      } else if (rescale) {
        m_c3d.ComputeOptimumScale();
      }
      // Values that do not fit 16 bits would be saved wrapped: with the
      // option they are rescaled, otherwise the user decides.
      std::vector<CIntegerMisfit> misfits = PrepareIntegerConversion(m_c3d, rescale);
      if (!misfits.empty() && !rescale) {
        const std::string list = DescribeIntegerMisfits(m_c3d, misfits);
        if (!host.Prompt().AskYesNo(kFitQuestion + list + kFitQuestionEnd)) {
          backup.Restore(m_c3d);
          return false;
        }
        misfits = FitToIntegerStorage(m_c3d, misfits);
      }
      if (!misfits.empty()) {
        const std::string list = DescribeIntegerMisfits(m_c3d, misfits);
        backup.Restore(m_c3d);
        host.Prompt().ShowMessage(kCannotFitMessage + list);
        return false;
      }
    }
    bool converted;
    {
      CWaitCursor wait(host.Prompt());
      converted = m_c3d.ConvertStorage(rescale);
    }
    if (!converted) {
      backup.Restore(m_c3d);
      host.Prompt().ShowMessage(kZeroScaleMessage);
      return false;
    }
  }

  bool saved;
  {
    CWaitCursor wait(host.Prompt());
    saved = OnSaveDocument(path);
  }
  if (!saved) {
    // The original file was not touched; neither is the document.
    backup.Restore(m_c3d);
    return false;
  }
  if (!keepDocument) return true;

  const bool samePath = IsSameFile(path, m_strPathName);
  const bool wasBatch = host.BatchMode();
  host.SetBatchMode(false);
  CEditorDoc* opened = host.OpenDocumentFile(path);

  // This document goes back to the format it had.
  backup.Restore(m_c3d);
  if (!opened) {
    // The saved file could not be shown: keep this window rather than leave
    // the user with nothing open.
    m_c3d.m_strFileName = fileName0;
    SetModifiedFlag(wasModified);
    m_bRebuildList = true;
    UpdateAllViews();
    if (wasBatch) host.SetBatchMode(true);
    return true;
  }
  m_bRebuildList = true;
  UpdateAllViews();
  host.CloseDocument(this);  // `this` is gone from here on

  // Saving over its own file only activated the document being closed.
  if (samePath) host.OpenDocumentFile(path);
  if (wasBatch) host.SetBatchMode(true);
  return true;
}

bool CEditorDoc::SaveInPlace() { return OnSaveDocument(m_strPathName); }

bool CEditorDoc::SaveConverted(StorageKind storage, int processor) {
  const bool convert = storage != m_c3d.m_storage;
  CModelBackup backup;
  try {
    backup.Take(m_c3d, convert);
  } catch (const std::bad_alloc&) {
    m_host.Prompt().ShowMessage(kNoMemoryMessage);
    return false;
  }
  if (IsKnownProcessor(processor)) m_c3d.m_nProcessor = processor;
  if (convert && m_c3d.IsReal()) {
    // Refused rather than saved wrapped, unless the option allows a rescale.
    const bool rescale = m_host.Settings().m_nRescaleConversion != 0;
    std::vector<CIntegerMisfit> misfits = PrepareIntegerConversion(m_c3d, rescale);
    if (!misfits.empty()) {
      const std::string list = DescribeIntegerMisfits(m_c3d, misfits);
      backup.Restore(m_c3d);
      m_host.Prompt().ShowMessage(rescale ? kCannotFitMessage + list
                                          : kNotFittedMessage + list + m_host.RescaleHint());
      return false;
    }
  }
  if (convert) {
    bool converted;
    {
      CWaitCursor wait(m_host.Prompt());
      converted = m_c3d.ConvertStorage(m_host.Settings().m_nRescaleConversion != 0);
    }
    if (!converted) {
      backup.Restore(m_c3d);
      m_host.Prompt().ShowMessage(kZeroScaleMessage);
      return false;
    }
  }
  if (!OnSaveDocument(m_strPathName)) {
    backup.Restore(m_c3d);
    return false;
  }
  return true;
}
