// The GUI tests run inside the program's own application object, so a
// failure escaping a handler reaches the same error box as in the program.
#include <gtest/gtest.h>

#include <csignal>

#include "Application.h"

int main(int argc, char** argv) {
  std::signal(SIGXFSZ, SIG_IGN);
  tenaxo::Application app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
