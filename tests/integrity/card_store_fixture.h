// The card store's registry in a directory of its own with the saved-key file beside it, a
// pristine copy of the database to go back to between runs.
#pragma once

#include <string>
#include <vector>

#include "card_store_test.h"

namespace zov::test {

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

  private:
    std::string workDir_;
    std::vector<std::uint8_t> pristine_;
};

}  // namespace zov::test
