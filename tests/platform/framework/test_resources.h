// Small dialog templates for the framework's tests, and a fixture that runs dialogs on an
// in-memory screen with these templates as the resource module.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/dialog/resource.h"
#include "platform/terminal/memory_terminal.h"

namespace framework_test {

inline constexpr int kIddButtons = 500;   // OK, Cancel and two command buttons
inline constexpr int kIddExchange = 501;  // a drop-down list, two radio groups

inline constexpr int kIdcFirstCommand = 600;
inline constexpr int kIdcSecondCommand = 601;
inline constexpr int kIdcPorts = 610;   // drop-down list "COM1".."COM132"
inline constexpr int kIdcSpeed4 = 620;  // first group: 620, 621, 622
inline constexpr int kIdcSpeed8 = 621;
inline constexpr int kIdcSpeed16 = 622;
inline constexpr int kIdcBusIsa = 630;  // second group: 630, 631
inline constexpr int kIdcBusPci = 631;
inline constexpr int kIdcMissing = 699;  // in no template

const zov::ResourceModule& TestResources();

class FrameworkTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    zov::MemoryTerminal& Screen() { return *terminal_; }

  private:
    std::unique_ptr<zov::MemoryTerminal> terminal_;
};

}  // namespace framework_test
