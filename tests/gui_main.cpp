// SPDX-License-Identifier: GPL-3.0-or-later
// In the program's own application object: a failure no handler stops reaches its error box.
#include <gtest/gtest.h>
#include <csignal>
#include "Application.h"

int main(int argc, char** argv) {
  std::signal(SIGXFSZ, SIG_IGN);  // the file size limit fails a write, as in the program
  tenaxo::Application app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
