// A fresh registry per test for the card store and the utility, with the saved-key file of a
// renumbering in the test's own directory, and a switch that makes a registry write fail.
#pragma once

#include <cstdlib>
#include <string>

#include "card_keys.h"
#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {

class CardStoreTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        setenv("SystemDrive", Dir().c_str(), 1);
    }
    void TearDown() override {
        FailAtWrite(0);
        unsetenv("SystemDrive");
        RegistryTest::TearDown();
    }
    // The Parameters key and everything below it, as text.
    std::string Parameters() { return Dump(kParametersPath); }
    std::string SavedKeyFile() const { return Dir() + "/ZOVsavREG"; }

    // Makes the k-th registry write from the next opening of the database fail (0: none).
    static void FailAtWrite(int k) {
        if (k == 0) {
            unsetenv("ZOVCFG_FAULT_AT_WRITE");
            unsetenv("ZOVCFG_FAULT_MODE");
        } else {
            setenv("ZOVCFG_FAULT_MODE", "fail", 1);
            setenv("ZOVCFG_FAULT_AT_WRITE", std::to_string(k).c_str(), 1);
        }
        CloseRegistryDatabase();
    }
};

}  // namespace zov::test
