#include "card_store_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/registry/registry_database.h"

namespace zov::test {

void CardStoreFixture::SetUp() {
    CardStoreTest::SetUp();
    std::string pattern = "/dev/shm/zovint-XXXXXX";
    workDir_ = mkdtemp(pattern.data()) != nullptr ? pattern : Dir();
    setenv("ZOVCFG_REGISTRY", WorkDatabase().c_str(), 1);
    setenv("SystemDrive", workDir_.c_str(), 1);
    CloseRegistryDatabase();
}

void CardStoreFixture::TearDown() {
    CloseRegistryDatabase();
    std::error_code ignored;
    std::filesystem::remove_all(workDir_, ignored);  // Dir() too, which the base removes anyway
    CardStoreTest::TearDown();
}

void CardStoreFixture::KeepPristine() {
    CloseRegistryDatabase();
    pristine_ = ReadFileBytes(WorkDatabase());
    ASSERT_FALSE(pristine_.empty());
}

void CardStoreFixture::BackToPristine() {
    CloseRegistryDatabase();
    unlink((WorkDatabase() + "-journal").c_str());
    unlink(SavedKeyFile().c_str());
    WriteFileBytes(WorkDatabase(), pristine_);
}

}  // namespace zov::test
