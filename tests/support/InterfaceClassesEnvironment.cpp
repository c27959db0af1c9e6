// Every test runs with the interface classes registered, as the game and the tool have them from
// their start-up.
#include <gtest/gtest.h>

#include "ui/InterfaceClasses.h"

namespace {

class InterfaceClassesEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { RegisterInterfaceClasses(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new InterfaceClassesEnvironment);

}  // namespace
