// The table of batch operation types, and the key readers of an operation.
#include "app/BatchFile.h"
#include "app/BatchOps.h"
#include "c3d/Param.h"
#include "document/EditorDoc.h"

const std::vector<CBatchOperationType>& BatchOperationTypes() {
  // One line per type: replace BatchNoOp by the type's function when it is built.
  static const std::vector<CBatchOperationType> types = {
      {"Group", RunBatchGroup},
      {"Parameter", RunBatchParameter},
      {"Analog", RunBatchAnalog},
      {"Video", RunBatchVideo},
      {"FilterAnalog", RunBatchFilterAnalog},
      {"FilterVideo", RunBatchFilterVideo},
      {"SamplingFreq", RunBatchSamplingFreq},
      {"Interpolation", RunBatchInterpolation},
      {"ZeroFP", RunBatchZeroFP},
      {"ZeroAnalog", RunBatchZeroAnalog},
  };
  return types;
}

BatchOperationFn FindBatchOperation(const std::string& type) {
  for (const CBatchOperationType& entry : BatchOperationTypes())
    if (NamesEqual(type, entry.m_pszType)) return entry.m_pfnRun;
  return nullptr;
}

void BatchNoOp(CBatchOperation&) {}

// ---- CBatchOperation ----------------------------------------------------------

CBatchOperation::CBatchOperation(CEditorDoc& doc, const CBatchFile& file, int number)
    : m_doc(doc), m_file(file), m_nNumber(number), m_strSection(CBatchFile::OperationSection(number)) {}

CC3d& CBatchOperation::C3d() const { return m_doc.m_c3d; }

bool CBatchOperation::LockedEdit() const { return m_doc.Host().LockedEdit(); }

std::optional<std::string> CBatchOperation::String(const std::string& key) const {
  return m_file.String(m_strSection, key);
}

std::string CBatchOperation::String(const std::string& key, const std::string& defaultValue) const {
  return m_file.String(m_strSection, key).value_or(defaultValue);
}

int CBatchOperation::Int(const std::string& key, int defaultValue) const {
  return m_file.Int(m_strSection, key, defaultValue);
}

std::optional<int> CBatchOperation::OptionalInt(const std::string& key) const {
  // No default can stand for "missing" among all ints: read twice.
  int a = m_file.Int(m_strSection, key, 0), b = m_file.Int(m_strSection, key, 1);
  if (a != b) return std::nullopt;
  return a;
}

std::vector<std::string> CBatchOperation::Lines() const { return m_file.SectionLines(m_strSection); }
