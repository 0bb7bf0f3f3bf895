// The card store's registry in a directory of its own with the saved-key file beside it, a
// pristine copy of the database to go back to between runs, and operations run in a child
// process that a registry fault can fail or kill at an exact write.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "card_store_test.h"

namespace zov::test {

// Exit status RunInChild reports for a child that SIGKILL ended.
inline constexpr int kKilledStatus = 128 + 9;

class CardStoreFixture : public CardStoreTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Remembers the database file as it is now.
    void KeepPristine();
    // Puts the remembered database back, without any journal or saved-key file.
    void BackToPristine();

    // The directory of the database and the saved-key file: in memory (/dev/shm) where there is
    // one, since a killed process loses nothing of the page cache and the runs here are many.
    const std::string& WorkDir() const { return workDir_; }
    std::string WorkDatabase() const { return workDir_ + "/registry.db"; }
    std::string SavedKeyFile() const { return workDir_ + "/ZOVsavREG"; }

    // Runs operation in a child process whose k-th registry write fails or kills it (mode "fail"
    // or "kill"). Returns 0 when the operation reported success, 1 when it reported a failure,
    // kKilledStatus when the fault killed the child.
    int RunWithFaultInChild(const char* mode, int k, const std::function<bool()>& operation);

  private:
    std::string workDir_;
    std::vector<std::uint8_t> pristine_;
};

}  // namespace zov::test
