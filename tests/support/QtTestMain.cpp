#include <gtest/gtest.h>

#include <QtGlobal>

#include "app/Application.h"

// Widgets are real and run on the offscreen platform, so the tests need no display.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  tarnwick::TApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
