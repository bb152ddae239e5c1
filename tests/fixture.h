// A stand-in host with the plug-in linked into the test program, as most
// tests use it: the plug-in's resources come from the built .res file.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "globals.h"
#include "host.h"

extern "C" SPErr PluginMain(const char *caller, const char *selector, void *message);

namespace smear {

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host.attachLinked(&PluginMain, std::string(SMEAR_BUILD_DIR) + "/Smearcraft.res", error))
            << error;
    }
    void TearDown() override {
        if (gGlobals != nullptr) shutdown();
        // Whatever a test did, every suite it acquired has been released.
        EXPECT_EQ(host.suites.outstanding(), 0);
    }

    SPErr startup() { return host.sendBasic("SP Interface", "Startup"); }
    SPErr shutdown() { return host.sendBasic("SP Interface", "Shutdown"); }
    Globals &g() { return *gGlobals; }
    AIToolHandle tool(int toolId) { return gGlobals->toolHandles[toolId]; }

    SPErr mouseDown(int toolId, AIRealPoint p, ASInt16 pressure = 255, ASInt32 modifiers = 0) {
        return host.sendTool("AI Mouse Down", tool(toolId), p, pressure, modifiers);
    }
    SPErr drag(int toolId, AIRealPoint p, ASInt16 pressure = 255, ASInt32 modifiers = 0) {
        return host.sendTool("AI Mouse Drag", tool(toolId), p, pressure, modifiers);
    }
    SPErr mouseUp(int toolId, AIRealPoint p, ASInt16 pressure = 255, ASInt32 modifiers = 0) {
        return host.sendTool("AI Mouse Up", tool(toolId), p, pressure, modifiers);
    }

    Host host;
};

}  // namespace smear
