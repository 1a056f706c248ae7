#include <csignal>

#include "Application.h"
#include "TFAbout.h"
#include "TFTenaxo.h"

int main(int argc, char** argv) {
  // A file-size limit must fail a save with its message, not end the program.
  std::signal(SIGXFSZ, SIG_IGN);
  tenaxo::Application app(argc, argv);
  tenaxo::TFTenaxo window;
  window.SetAbout(new tenaxo::TFAbout(&window));
  window.show();
  return app.exec();
}
