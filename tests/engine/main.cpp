#include <gtest/gtest.h>

#include "tests/engine/EngineEnvironment.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Mossden::Test::EngineEnvironment());
    return RUN_ALL_TESTS();
}
