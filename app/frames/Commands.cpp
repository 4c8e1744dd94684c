#include "app/frames/Commands.h"

#include "app/frames/MainFrame.h"

// One line per topic file; each topic's function is declared here and
// defined in its own file (app/frames/XxxCommands.cpp).
void AddEditCommands(CMainFrame& frame);
void AddBatchProcessCommands(CMainFrame& frame);
void AddGraphViewCommands(CMainFrame& frame);
void AddPrintCommands(CMainFrame& frame);
void AddReadDstCommands(CMainFrame& frame);
void AddProcessCommands(CMainFrame& frame);
void AddResampleCommands(CMainFrame& frame);
void AddValidityCommands(CMainFrame& frame);

void AddTopicCommands(CMainFrame& frame) {
  AddEditCommands(frame);
  AddBatchProcessCommands(frame);
  AddResampleCommands(frame);
  AddProcessCommands(frame);
  AddReadDstCommands(frame);
  AddValidityCommands(frame);
  AddGraphViewCommands(frame);
  AddPrintCommands(frame);
}
