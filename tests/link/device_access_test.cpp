// What the user is told when a serial device will not open.
#include "link/device_access.h"

#include <gtest/gtest.h>

#include <vector>

namespace vyk {
namespace {

TEST(DeviceAccess, GroupHintOnlyWhereJoiningTheGroupGivesAccess) {
  constexpr unsigned kUser = 1000, kOwner = 0, kDialout = 20;
  struct Case {
    unsigned mode, owner;
    std::vector<unsigned> groups;
    bool hint;
  } cases[] = {
      {0660, kOwner, {1000}, true},             // the usual serial device, user not in dialout
      {0660, kOwner, {1000, kDialout}, false},  // already a member: the group is no help
      {0600, kOwner, {1000}, false},            // root alone may open it
      {0640, kOwner, {1000}, false},            // the group may only read
      {0066, kUser, {1000}, false},             // the user's own file: the owner bits count
  };
  for (const Case& c : cases)
    EXPECT_EQ(GroupWouldGrantAccess(c.mode, c.owner, kDialout, kUser, c.groups), c.hint)
        << std::oct << c.mode;
}

}  // namespace
}  // namespace vyk
