// Card keys in the registry fixture's notation (one key path a line, its values indented below),
// under the driver's Parameters key, and the fixtures of the card store's tests: a fresh registry
// per test with the saved-key file of a renumbering in the test's own directory, and one in a
// directory of its own with a pristine copy of the database to go back to between runs.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry/registry_database.h"
#include "registry_test_support.h"

namespace zov::test {

inline constexpr const char* kParametersPath =
    "SYSTEM\\CurrentControlSet\\Services\\ZOVCOM\\Parameters";

inline std::string CardPath(int card) {
    return std::string(kParametersPath) + "\\Card" + std::to_string(card);
}

// Card `card` with the value lines `values` and port keys Port1 to Port<ports>, named from
// COM<firstCom> upwards.
inline std::string CardKeys(int card, const std::string& values, int ports, int firstCom) {
    std::string text = CardPath(card) + "\n" + values;
    for (int port = 1; port <= ports; ++port) {
        text += CardPath(card) + "\\Port" + std::to_string(port) + "\n  DOSDeviceName = sz:COM" +
                std::to_string(firstCom + port - 1) + "\n";
    }
    return text;
}

inline std::string IsaCardKeys(int card, int ports, int firstCom, unsigned baseAddress = 0x2A0,
                               unsigned irq = 7) {
    return CardKeys(card,
                    "  ZOVBaseAddress = dword:" + std::to_string(baseAddress) +
                        "\n  ZOVIrq = dword:" + std::to_string(irq) + "\n",
                    ports, firstCom);
}

inline std::string PciCardKeys(int card, int ports, int firstCom) {
    return CardKeys(card, "  ZOVPortCount = dword:" + std::to_string(ports) + "\n", ports,
                    firstCom);
}

// Cards 1 to count, PCI with four ports each, card k on COM firstCom+4(k-1) and up.
inline std::string PciCards(int count, int firstCom = 1) {
    std::string cards;
    for (int card = 1; card <= count; ++card) {
        cards += PciCardKeys(card, 4, firstCom + 4 * (card - 1));
    }
    return cards;
}

class CardStoreTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        UseSystemDrive(Dir());
    }
    void TearDown() override {
        FailAtWrite(0);
        unsetenv("SystemDrive");
        RegistryTest::TearDown();
    }
    // The Parameters key and everything below it, as text.
    std::string Parameters() { return Dump(kParametersPath); }
    // Switches to an empty registry file of its own, so that the cases of one test share no cards.
    void FreshRegistry(const std::string& name) {
        setenv("ZOVCFG_REGISTRY", PathInDir(name + ".db").c_str(), 1);
        CloseRegistryDatabase();
    }
    // The saved-key file goes to the root of the system drive.
    std::string SavedKeyFile() const { return systemDrive_ + "/ZOVsavREG"; }
    void UseSystemDrive(const std::string& dir) {
        systemDrive_ = dir;
        setenv("SystemDrive", dir.c_str(), 1);
    }

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

  private:
    std::string systemDrive_;
};

// The database and the saved-key file in a directory of their own: in memory (/dev/shm) where
// there is one, since a killed process loses nothing of the page cache and the runs here are many.
class CardStoreFixture : public CardStoreTest {
  protected:
    void SetUp() override {
        CardStoreTest::SetUp();
        std::string pattern = "/dev/shm/zovint-XXXXXX";
        workDir_ = mkdtemp(pattern.data()) != nullptr ? pattern : Dir();
        setenv("ZOVCFG_REGISTRY", WorkDatabase().c_str(), 1);
        UseSystemDrive(workDir_);
        CloseRegistryDatabase();
    }
    void TearDown() override {
        CloseRegistryDatabase();
        std::error_code ignored;
        std::filesystem::remove_all(workDir_, ignored);  // Dir() too, which the base removes anyway
        CardStoreTest::TearDown();
    }

    // Remembers the database file as it is now.
    void KeepPristine() {
        CloseRegistryDatabase();
        pristine_ = ReadFileBytes(WorkDatabase());
        ASSERT_FALSE(pristine_.empty());
    }
    // Puts the remembered database back, without any journal or saved-key file.
    void BackToPristine() {
        CloseRegistryDatabase();
        unlink((WorkDatabase() + "-journal").c_str());
        unlink(SavedKeyFile().c_str());
        WriteFileBytes(WorkDatabase(), pristine_);
    }

    const std::string& WorkDir() const { return workDir_; }
    std::string WorkDatabase() const { return workDir_ + "/registry.db"; }

  private:
    std::string workDir_;
    std::vector<std::uint8_t> pristine_;
};

}  // namespace zov::test
