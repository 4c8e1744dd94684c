// The editor's entry point: "quorvel [PATH]" opens a file, "quorvel -b PATH"
// runs the batch file of the settings on it.
#include <QApplication>

#include "app/CommandLine.h"
#include "app/frames/QtEditorApp.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName("Quorvel");
  QApplication::setOrganizationName("Halvenor");

  CQtEditorApp app;
  // The raw text after the program name, as the user typed it.
  const std::string commandLine = CommandLineText(argc, argv);
  int result = 0;
  if (app.InitInstance(commandLine)) result = QApplication::exec();
  app.ExitInstance();
  return result;
}
