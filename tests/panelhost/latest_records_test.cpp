#include "services/latest_records.h"

#include <gmock/gmock.h>

#include <string>

namespace {

using panelhost::LatestRecords;
using ::testing::ElementsAre;

TEST(LatestRecords, KeepsTheLatestOldestFirstAndReusesTheSlotsItDrops) {
  LatestRecords<std::string> kept(3);
  for (const char* text : {"a", "b"}) kept.push_back(text);
  EXPECT_THAT(kept, ElementsAre("a", "b"));
  const std::string longText(100, 'x');
  for (int i = 0; i < 4; ++i) kept.keep(longText + std::to_string(i));
  EXPECT_THAT(kept, ElementsAre(longText + "1", longText + "2", longText + "3"));
  EXPECT_EQ(kept.at(0), longText + "1");
  EXPECT_EQ(kept.back(), longText + "3");
  EXPECT_THROW(kept.at(3), std::out_of_range);
  // A text no longer than the one it replaces goes into that one's room.
  const char* room = kept[0].data();
  kept.keep(std::string("short"));
  EXPECT_EQ(kept[2].data(), room);
  kept.clear();
  EXPECT_TRUE(kept.empty());
}

}  // namespace
