// Every test runs with the graphics classes registered, as the game and the tool have them from
// their start-up.
#include <gtest/gtest.h>

#include "graphics/GraphicsClasses.h"

namespace {

class GraphicsClassesEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { RegisterGraphicsClasses(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new GraphicsClassesEnvironment);

}  // namespace
