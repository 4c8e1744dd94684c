#pragma once
// A CDocHost for tests: its own settings, flags and scripted prompt, and a
// document manager that keeps the documents it opens in a list.
//
//   CFakeHost host;
//   CEditorDoc* doc = host.OpenDocumentFile(path);   // null when it failed
//   host.m_bEditMode = true;
//   host.Prompt().ExpectQuestion(CUserPrompt::ANSWER_YES);
//
// OpenDocumentFile behaves like the real shell: in batch mode every open
// document is closed first; a path that is already open activates that
// document (returned as is). CloseDocument calls OnCloseDocument and destroys
// the document when the host owns it (a document made by the test itself is
// only closed).

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedDialogs.h"
#include "ScriptedPrompt.h"
#include "document/CopyBuffer.h"
#include "document/DocHost.h"
#include "document/EditorDoc.h"

class CFakeHost : public CDocHost {
 public:
  ~CFakeHost() override {
    // Documents refer to the host: let them go first.
    m_docs.clear();
  }

  AppSettings& Settings() override { return m_settings; }
  CScriptedPrompt& Prompt() override { return m_prompt; }
  bool EditMode() const override { return m_bEditMode; }
  bool LockedEdit() const override { return m_bLockedEdit; }
  bool BatchMode() const override { return m_bBatchMode; }
  void SetBatchMode(bool on) override { m_bBatchMode = on; }
  CopyBuffer& GetCopyBuffer() override { return m_copyBuffer; }
  CScriptedDialogs& EditDialogs() override { return m_dialogs; }
  void SetExitAfterBatch(bool on) override { m_bExitAfterBatch = on; }

  CEditorDoc* OpenDocumentFile(const std::string& path) override {
    m_openRequests.push_back(path);
    if (m_bBatchMode) {
      while (!m_docs.empty()) CloseDocument(m_docs.back().get());
    }
    for (const auto& doc : m_docs)
      if (doc->GetPathName() == path) return doc.get();
    auto doc = std::make_unique<CEditorDoc>(*this);
    if (!doc->OnOpenDocument(path)) return nullptr;
    m_docs.push_back(std::move(doc));
    return m_docs.back().get();
  }

  void CloseDocument(CEditorDoc* doc) override {
    ++m_nClosed;
    doc->OnCloseDocument();
    auto it = std::find_if(m_docs.begin(), m_docs.end(), [doc](const auto& d) { return d.get() == doc; });
    if (it != m_docs.end()) m_docs.erase(it);
  }

  bool ReleaseFileForWriting(const std::string& path, const CEditorDoc* writer) override {
    for (const auto& doc : m_docs) {
      if (doc.get() == writer || doc->GetPathName() != path) continue;
      if (!doc->SaveModified()) return false;
      CloseDocument(doc.get());
      return true;
    }
    return true;
  }

  void RunBatchOnDocument(CEditorDoc& doc) override {
    ++m_nBatchRuns;
    if (m_batchHandler) m_batchHandler(doc);
  }

  // The open document showing `path`, or null.
  CEditorDoc* FindDocument(const std::string& path) const {
    for (const auto& doc : m_docs)
      if (doc->GetPathName() == path) return doc.get();
    return nullptr;
  }

  AppSettings m_settings;
  CScriptedPrompt m_prompt;
  CScriptedDialogs m_dialogs{m_prompt};
  CopyBuffer m_copyBuffer;
  bool m_bEditMode = false;
  bool m_bLockedEdit = false;
  bool m_bBatchMode = false;
  bool m_bExitAfterBatch = false;

  std::vector<std::unique_ptr<CEditorDoc>> m_docs;  // open documents, oldest first
  std::vector<std::string> m_openRequests;          // every OpenDocumentFile path
  int m_nClosed = 0;                                // CloseDocument calls
  int m_nBatchRuns = 0;                             // RunBatchOnDocument calls
  std::function<void(CEditorDoc&)> m_batchHandler;  // what a batch run does
};
