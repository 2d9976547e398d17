#include "generate/RecoveryFolder.h"

#include <gtest/gtest.h>

#include "../ScratchDir.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

// A lock excludes every other holder, in this process too, and is free again
// once released (as when its process dies).
TEST(FileLock, ExcludesOtherHoldersUntilReleased) {
  testing::ScratchDir dir;
  const fs::path path = dir.Path() / "a.lock";
  FileLock first, second;
  EXPECT_EQ(first.TryLock(path), FileLock::State::Held);
  EXPECT_EQ(second.TryLock(path), FileLock::State::Busy);
  EXPECT_FALSE(second.Held());
  first.Release();
  EXPECT_EQ(second.TryLock(path), FileLock::State::Held);
  second.Release(true);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(first.TryLock(dir.Path() / "no" / "such" / "x.lock"), FileLock::State::Failed);
  EXPECT_TRUE(ProcessRuns(CurrentProcessId()));
}

vrlComponent Laser(const std::string& cost) {
  vrlComponent laser;
  laser.SetCompName("Laser");
  laser.SetMinCost(cost);
  return laser;
}

// Two instances side by side never take each other's copies; once one is
// gone (its lock dropped without a normal end), its copies are an orphan for
// one of the others alone, read back as written, and gone once deleted.
TEST(RecoveryFolder, OrphansAreTheCopiesOfInstancesGone) {
  testing::ScratchDir dir;
  const fs::path folder = dir.Path() / "state" / "Vorlane";
  std::string error;
  auto gone = std::make_unique<RecoveryFolder>(folder, "11-1");
  RecoveryFolder alive(folder, "12-2"), later(folder, "13-3");
  ASSERT_TRUE(gone->Open(error)) << error;
  ASSERT_TRUE(alive.Open(error) && later.Open(error)) << error;

  vrlFacility mine;
  mine.SetFacName("Mine");
  ASSERT_TRUE(gone->Write(Laser("1"), "", error)) << error;
  ASSERT_TRUE(gone->Write(Laser("10"), "/designs/laser.vorlane.json", error)) << error;
  ASSERT_TRUE(gone->Write(mine, "", error)) << error;
  ASSERT_TRUE(alive.Write(Laser("99"), "", error)) << error;
  EXPECT_TRUE(alive.FindOrphans().empty());

  gone.reset();  // as a kill leaves it
  std::vector<Orphan> orphans = alive.FindOrphans();
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_TRUE(later.FindOrphans().empty()) << "held by the instance looking at it";
  Orphan& orphan = orphans.front();
  EXPECT_EQ(orphan.instance, "11-1");
  ASSERT_TRUE(orphan.component && orphan.facility);
  EXPECT_EQ(DesignToJson(orphan.component->design.component), DesignToJson(Laser("10")));
  EXPECT_EQ(orphan.component->origin, "/designs/laser.vorlane.json");
  EXPECT_EQ(orphan.facility->design.facility, mine);
  EXPECT_EQ(orphan.facility->origin, "");

  // Undecided: released, and found again.
  orphans.clear();
  orphans = later.FindOrphans();
  ASSERT_EQ(orphans.size(), 1u);
  later.Delete(orphans.front());
  EXPECT_TRUE(alive.FindOrphans().empty());

  // A removed copy and a normal end leave nothing behind.
  alive.Remove(DesignKind::Component);
  EXPECT_FALSE(alive.Has(DesignKind::Component));
  alive.Close();
  later.Close();
  EXPECT_TRUE(fs::is_empty(folder));
}

// A copy that cannot be read is not offered and stays; a lock file without
// copies goes.
TEST(RecoveryFolder, UnreadableCopiesStayAndStaleLocksGo) {
  testing::ScratchDir dir;
  const fs::path folder = dir.Path();
  dir.Write("21-1.component.vorlane.json", "{\"kind\": \"component\", broken");
  dir.Write("22-1.lock", "");
  RecoveryFolder self(folder, "23-1");
  std::string error;
  ASSERT_TRUE(self.Open(error)) << error;
  EXPECT_TRUE(self.FindOrphans().empty());
  EXPECT_TRUE(fs::exists(folder / "21-1.component.vorlane.json"));
  EXPECT_FALSE(fs::exists(folder / "22-1.lock"));
  EXPECT_FALSE(RecoveryFolder(dir.Path() / "x", "24-1").Write(Laser("1"), "", error)) << "not open";
}

}  // namespace
}  // namespace vorlane
