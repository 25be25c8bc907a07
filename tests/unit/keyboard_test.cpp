#include "keyboard/keyboard_model.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "posix/us_layout.h"

namespace tessary {
namespace {

using testing::FakeKeyOutput;

KeyDef MakeKey(int32_t code, KeyPos pos, int32_t line = 0, int32_t block = 0, int32_t type = 0) {
  KeyDef key;
  key.code = code;
  key.pos = pos;
  key.scanLine = line;
  key.scanBlock = block;
  key.type = type;
  return key;
}

class KeyboardTest : public ::testing::Test {
 protected:
  FakeKeyOutput output;
  UsEnglishLayout layout;
  Keyboard kb{output, layout};
};

TEST_F(KeyboardTest, StartsEmptyInKorean) {
  EXPECT_EQ(kb.language, IL_KOREAN);
  EXPECT_EQ(kb.view, 0);
  EXPECT_EQ(kb.HitTest(0, 0), kNoKey);
  EXPECT_TRUE(kb.KeysInScanLine(1).empty());
}

TEST_F(KeyboardTest, ScalesByTheDesignSize) {
  kb.width = 510;
  kb.height = 155;
  kb.keys = {MakeKey(27, {2, 5, 30, 22}), MakeKey(65, {0.5, 0.5, 0.24, 0.24})};
  kb.ScaleKeys(1020, 310);
  EXPECT_EQ(kb.keys[0].rect, (KeyRect{4, 10, 64, 54}));
  EXPECT_EQ(kb.keys[1].rect, (KeyRect{1, 1, 1, 1}));  // origin and size rounded separately
  kb.ScaleKeys(510, 155);
  EXPECT_EQ(kb.keys[0].rect, (KeyRect{2, 5, 32, 27}));
}

TEST_F(KeyboardTest, AZeroDesignSizeGivesEmptyRectangles) {
  kb.width = 0;
  kb.height = 155;
  kb.keys = {MakeKey(27, {2, 5, 30, 22})};
  kb.keys[0].rect = {1, 2, 3, 4};
  kb.ScaleKeys(1020, 310);
  EXPECT_EQ(kb.keys[0].rect, KeyRect{});
  EXPECT_EQ(kb.HitTest(0, 0), kNoKey);
  kb.width = 510;
  kb.height = 0;
  kb.ScaleKeys(1020, 310);
  EXPECT_EQ(kb.keys[0].rect, KeyRect{});
}

TEST_F(KeyboardTest, HugeLayoutCoordinatesDoNotOverflow) {
  kb.width = 1;
  kb.height = 1;
  kb.keys = {MakeKey(1, {1e300, -1e300, 1e300, 0.0 / 0.0})};
  kb.ScaleKeys(4000, 4000);
  EXPECT_EQ(kb.keys[0].rect.left, INT32_MAX);
  EXPECT_EQ(kb.keys[0].rect.top, INT32_MIN);
  EXPECT_EQ(kb.keys[0].rect.bottom, INT32_MIN);
}

TEST_F(KeyboardTest, HitTestingTakesLeftAndTopEdgesAndTheEarlierOfOverlappingKeys) {
  kb.keys = {MakeKey(1, {}), MakeKey(2, {}), MakeKey(3, {})};
  kb.keys[0].rect = {10, 10, 20, 20};
  kb.keys[1].rect = {15, 15, 30, 30};
  kb.keys[2].rect = {20, 10, 25, 15};
  EXPECT_EQ(kb.HitTest(10, 10), 0);
  EXPECT_EQ(kb.HitTest(17, 17), 0);  // both contain it: the earlier wins
  EXPECT_EQ(kb.HitTest(20, 12), 2);  // the right edge belongs to the neighbour
  EXPECT_EQ(kb.HitTest(12, 20), kNoKey);  // the bottom edge is outside
  EXPECT_EQ(kb.HitTest(29, 29), 1);
  EXPECT_EQ(kb.HitTest(30, 29), kNoKey);
  EXPECT_EQ(kb.HitTest(-1, -1), kNoKey);
}

TEST_F(KeyboardTest, ScanQueriesListKeysInIndexOrder) {
  kb.keys = {MakeKey(1, {}, 1, 1), MakeKey(2, {}, 2, 1), MakeKey(3, {}, 1, 2), MakeKey(4, {}, 1, 1)};
  EXPECT_EQ(kb.KeysInScanLine(1), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(kb.KeysInScanBlock(1, 1), (std::vector<int>{0, 3}));
  EXPECT_EQ(kb.KeysInScanBlock(2, 2), std::vector<int>{});
  EXPECT_EQ(kb.KeysInScanLine(7), std::vector<int>{});
}

TEST_F(KeyboardTest, CandidatesFillTheWordKeysInOrderAndBlankTheRest) {
  for (int i = 0; i < 9; ++i) kb.keys.push_back(MakeKey(i, {}, 0, 0, (i == 0 || i == 8) ? 0 : TK_STRING));
  for (KeyDef& key : kb.keys) key.SetAllLabels("old");
  kb.ShowCandidates({"가", "나", "다"});
  for (int view = 0; view < 4; ++view) {
    EXPECT_EQ(kb.keys[1].Label(view), "가");
    EXPECT_EQ(kb.keys[3].Label(view), "다");
    EXPECT_EQ(kb.keys[4].Label(view), "");
  }
  EXPECT_EQ(kb.keys[0].ncns, "old");  // not a word key
  EXPECT_EQ(kb.keys[8].ncns, "old");
  kb.ShowCandidates({});
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(kb.keys[static_cast<size_t>(i)].ycys, "");
  std::vector<std::string> many(20, "w");
  kb.ShowCandidates(many);  // more candidates than slots: the rest are dropped
  EXPECT_EQ(kb.keys[7].ncns, "w");
}

TEST_F(KeyboardTest, LatchesAreFoundAndClearedByCode) {
  kb.keys = {MakeKey(16, {}), MakeKey(65, {}), MakeKey(16, {})};
  EXPECT_FALSE(kb.IsLatched(16));
  kb.keys[2].latched = true;
  kb.keys[1].latched = true;
  EXPECT_TRUE(kb.IsLatched(16));
  kb.Unlatch(16);
  EXPECT_FALSE(kb.keys[0].latched || kb.keys[2].latched);
  EXPECT_TRUE(kb.keys[1].latched);
}

TEST_F(KeyboardTest, ResetModifiersReleasesEveryModifierAndCapsLockOnlyInTheCapsView) {
  kb.view = 1;
  kb.ResetModifiers();
  const std::vector<KeyInputRecord> keyUps = {
      {17, 0x1D, true, false}, {16, 0x2A, true, false}, {18, 0x38, true, false}, {91, 0x5B, true, false}};
  EXPECT_EQ(output.sent, keyUps);
  EXPECT_EQ(kb.view, 0);
  output.sent.clear();
  kb.view = 3;
  kb.ResetModifiers();
  std::vector<KeyInputRecord> withCaps = {{20, 0x3A, false, false}, {20, 0x3A, true, false}};
  withCaps.insert(withCaps.end(), keyUps.begin(), keyUps.end());
  EXPECT_EQ(output.sent, withCaps);
  EXPECT_EQ(kb.view, 0);
}

TEST_F(KeyboardTest, LockKeysFollowTheSystem) {
  kb.keys = {MakeKey(20, {}), MakeKey(144, {}), MakeKey(145, {}), MakeKey(65, {})};
  output.locksOn = {20, 145};
  kb.view = 1;
  kb.SyncLockKeys();
  EXPECT_TRUE(kb.keys[0].latched);
  EXPECT_FALSE(kb.keys[1].latched);
  EXPECT_TRUE(kb.keys[2].latched);
  EXPECT_FALSE(kb.keys[3].latched);
  EXPECT_EQ(kb.view, 3);
  // Two Caps Lock keys flip the Caps bit twice.
  kb.keys = {MakeKey(20, {}), MakeKey(20, {})};
  kb.view = 0;
  kb.SyncLockKeys();
  EXPECT_EQ(kb.view, 0);
  EXPECT_TRUE(kb.keys[0].latched && kb.keys[1].latched);
}

TEST(KeyboardLifetimeTest, NoModifierStaysDownWhenTheKeyboardGoesAway) {
  FakeKeyOutput output;
  UsEnglishLayout layout;
  {
    Keyboard kb(output, layout);
    kb.view = 3;
  }
  std::vector<uint16_t> released;
  for (const KeyInputRecord& r : output.sent) {
    EXPECT_TRUE(r.keyUp);
    released.push_back(r.code);
  }
  EXPECT_EQ(released, (std::vector<uint16_t>{17, 16, 18, 91}));  // no Caps Lock press
}

}  // namespace
}  // namespace tessary
