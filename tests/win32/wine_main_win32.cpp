// The main of every test program run under Wine: ctest passes Corvid.exe,
// the source folder and the build folder.
#include <gtest/gtest.h>

#include "win32/wine_support_win32.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wine_test::SetPaths(argc, argv);
  return RUN_ALL_TESTS();
}
