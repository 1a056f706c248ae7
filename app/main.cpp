#include "Application.h"
#include "TFAbout.h"
#include "TFTenaxo.h"

int main(int argc, char** argv) {
  tenaxo::Application app(argc, argv);
  tenaxo::TFTenaxo window;
  auto* about = new tenaxo::TFAbout(&window);
  window.SetAbout(about);
  window.show();
  return app.exec();
}
