#pragma once

#include "E2eSupport.h"
#include "MainController.h"

#include <gtest/gtest.h>

#include <memory>

// The manager as the user starts it, in this process (its sheets answered by the tests), beside
// the agent the test started rather than one of its own.
inline std::unique_ptr<MainController> startManagerInProcess()
{
    MainController::Environment environment;
    environment.interactive = false;
    environment.version = QStringLiteral("1.0");
    environment.daemonPath = builtProgram("bin/korvale-daemon");
    auto manager = std::make_unique<MainController>(environment);
    manager->awakeFromNib();
    EXPECT_TRUE(manager->applicationDidFinishLaunching());
    return manager;
}
