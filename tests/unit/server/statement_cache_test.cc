// Statements prepared again from the connection's cache must behave as freshly compiled ones:
// nothing of their last run (bindings, position, locks) may leak into the next.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "server/storage.h"

namespace server::testing {
namespace {

class StatementCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "cps-cache-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    db_ = std::make_unique<Database>(folder_ + "/t.db", true);
    db_->exec(
        "CREATE TABLE T (K TEXT PRIMARY KEY, V REAL); INSERT INTO T VALUES ('a', 1), "
        "('b', 2), ('c', 3)");
  }
  void TearDown() override {
    db_.reset();
    std::filesystem::remove_all(folder_);
  }

  std::string folder_;
  std::unique_ptr<Database> db_;
};

constexpr const char* kSelect = "SELECT K FROM T WHERE V >= ? ORDER BY K";

TEST_F(StatementCacheTest, AStatementLeftHalfWayStartsOverWithoutItsBindings) {
  {
    auto first = db_->prepare(kSelect);
    first.bind(1, 2.0);
    ASSERT_TRUE(first.step());
    EXPECT_EQ(first.text(0), "b");
  }
  auto again = db_->prepare(kSelect);
  // Unbound parameters are null: nothing compares with it.
  EXPECT_FALSE(again.step());
  again.reset();
  again.bind(1, 1.0);
  ASSERT_TRUE(again.step());
  EXPECT_EQ(again.text(0), "a");
}

TEST_F(StatementCacheTest, TwoLiveStatementsOfOneTextAreIndependent) {
  auto outer = db_->prepare(kSelect);
  outer.bind(1, 1.0);
  std::string seen;
  while (outer.step()) {
    auto inner = db_->prepare(kSelect);
    inner.bind(1, 3.0);
    ASSERT_TRUE(inner.step());
    seen += outer.text(0) + inner.text(0);
  }
  EXPECT_EQ(seen, "acbccc");
}

TEST_F(StatementCacheTest, ACachedStatementSeesAChangedSchemaAndReleasesItsReadLock) {
  {
    auto before = db_->prepare("SELECT * FROM T");
    ASSERT_TRUE(before.step());
  }
  db_->exec("ALTER TABLE T ADD COLUMN W TEXT");
  {
    auto reading = db_->prepare("SELECT * FROM T");
    ASSERT_TRUE(reading.step());
    EXPECT_EQ(reading.columnCount(), 3);
  }
  // A statement given back mid-way holds no lock that would keep a writer out.
  {
    auto half = db_->prepare(kSelect);
    half.bind(1, 1.0);
    ASSERT_TRUE(half.step());
  }
  Database other(folder_ + "/t.db", storage::OpenOptions{.busyTimeoutMs = 0});
  EXPECT_NO_THROW(other.exec("DROP TABLE T"));
}

TEST_F(StatementCacheTest, AnUnownedTextServesItsRunAndNothingAfterIt) {
  constexpr const char* kJoin = "SELECT ? || 'x'";
  {
    auto text = std::make_unique<std::string>("b");
    auto join = db_->prepare(kJoin);
    join.bindUnowned(1, *text);
    ASSERT_TRUE(join.step());
    EXPECT_EQ(join.text(0), "bx");
    join.reset();
    // The text goes before its statement goes back to the cache, which must not read it again.
    text.reset();
  }
  auto again = db_->prepare(kJoin);
  ASSERT_TRUE(again.step());
  EXPECT_TRUE(again.isNull(0));
}

// A larger page cache taken for one large save is given back, so a pooled connection does not
// keep it for every call after.
TEST_F(StatementCacheTest, APageCacheTakenForALargeSaveIsGivenBack) {
  const auto cacheSize = [&] {
    auto pragma = db_->prepare("PRAGMA cache_size");
    return pragma.step() ? pragma.number(0) : 0.0;
  };
  const double usual = cacheSize();
  db_->setPageCache(64 * 1024);
  EXPECT_EQ(cacheSize(), -64.0 * 1024);
  db_->setPageCache(0);
  EXPECT_EQ(cacheSize(), usual);
}

}  // namespace
}  // namespace server::testing
