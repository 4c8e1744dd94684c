#pragma once
// The operation types of a batch file and what each one runs.
//
// Every "[OperationN]" section names its type with the key "Type"; the
// table of BatchOperations.cpp maps the type name (letter case ignored) to
// one function per type, implemented in a file of its own
// (BatchGroupOps.cpp, BatchParameterOps.cpp, ...). A function reads its keys
// through CBatchOperation, which applies the batch file's reading rules, and
// works on the document through the same commands as the menus. A command
// whose keys are missing or invalid does nothing; failures are reported with
// the messages of the command concerned (quiet ones stay quiet while the
// host is in Batch Mode), and the run goes on with the next operation.
// Every change marks the document modified. No undo is recorded.

#include <optional>
#include <string>
#include <vector>

class CBatchFile;
class CC3d;
class CEditorDoc;

// One operation section being run on one document.
class CBatchOperation {
 public:
  CBatchOperation(CEditorDoc& doc, const CBatchFile& file, int number);

  CEditorDoc& Doc() const { return m_doc; }
  CC3d& C3d() const;
  // Whether locked groups and parameters may be changed in this run.
  bool LockedEdit() const;
  int Number() const { return m_nNumber; }          // 1-based
  const std::string& Section() const { return m_strSection; }

  // A string key: nullopt when missing or "Empty"; at most 511 characters.
  std::optional<std::string> String(const std::string& key) const;
  std::string String(const std::string& key, const std::string& defaultValue) const;
  // An integer key: the default when missing or empty.
  int Int(const std::string& key, int defaultValue) const;
  std::optional<int> OptionalInt(const std::string& key) const;
  // Every line of the section as written, in file order (ReplaceS reads
  // its ">old=new" lines from here).
  std::vector<std::string> Lines() const;

 private:
  CEditorDoc& m_doc;
  const CBatchFile& m_file;
  int m_nNumber;
  std::string m_strSection;
};

using BatchOperationFn = void (*)(CBatchOperation& op);

struct CBatchOperationType {
  const char* m_pszType;  // the "Type" value
  BatchOperationFn m_pfnRun;
};

// Every type of the batch file format, in the format's order.
const std::vector<CBatchOperationType>& BatchOperationTypes();
// The function of a type (letter case ignored); null for an unknown type.
BatchOperationFn FindBatchOperation(const std::string& type);

// ---- The types --------------------------------------------------------------
// A type that is not built yet runs BatchNoOp.
void BatchNoOp(CBatchOperation& op);
void RunBatchGroup(CBatchOperation& op);      // BatchGroupOps.cpp
void RunBatchParameter(CBatchOperation& op);  // BatchParameterOps.cpp
// "SamplingFreq": Change rate ("Base") or Change ratio ("AV"). BatchSamplingOps.cpp.
void RunBatchSamplingFreq(CBatchOperation& op);
// "Analog" and "Video": Create and Delete of channels and points.
// BatchChannelOps.cpp.
void RunBatchAnalog(CBatchOperation& op);
void RunBatchVideo(CBatchOperation& op);

// BatchProcessOps.cpp: filters, gap filling, zeroing.
void RunBatchFilterAnalog(CBatchOperation& op);
void RunBatchFilterVideo(CBatchOperation& op);
void RunBatchInterpolation(CBatchOperation& op);
void RunBatchZeroFP(CBatchOperation& op);
void RunBatchZeroAnalog(CBatchOperation& op);

// General/"AnalogOffset": gives every analog channel this offset before the
// operations run (the analog offset command without its dialog, messages and
// undo). BatchAnalogOffset.cpp.
void BatchSetAnalogOffset(CEditorDoc& doc, float offset);
