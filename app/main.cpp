#include <csignal>

#include "Application.h"
#include "CommandLine.h"
#include "TFAbout.h"
#include "TFTenaxo.h"
#include "Termination.h"

int main(int argc, char** argv) {
  if (const auto status = tenaxo::RunCommandLine(argc, argv)) return *status;
  // A file-size limit must fail a save with its message, not end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  tenaxo::Application app(argc, argv);
  tenaxo::CloseOnTerminationSignals();
  tenaxo::TFTenaxo window;
  window.SetAbout(new tenaxo::TFAbout(&window));
  window.show();
  return app.exec();
}
