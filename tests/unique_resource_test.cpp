#include "base/unique_resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvid {
namespace {

std::vector<int> freed;
bool refuse = false;

// Handles are small numbers; 0 and -1 both mean none, as with the system's.
struct Counted {
  using Value = int;
  static Value Empty() { return 0; }
  static bool Held(Value v) { return v != 0 && v != -1; }
  static bool Free(Value v) {
    freed.push_back(v);
    return !refuse;
  }
};
using Owner = UniqueResource<Counted>;

TEST(UniqueResource, GivesEachHandleBackOnceWhateverMovesIt) {
  freed.clear();
  {
    Owner a(1);
    Owner b(std::move(a));
    Owner c(2);
    c = std::move(b);  // 2 goes back, 1 moves on
    EXPECT_EQ(freed, std::vector<int>{2});
    Owner none(-1);  // a failed open is not closed
    *c.Put() = 3;    // 1 goes back before a new one is written in
    EXPECT_EQ(c.Release(), 3);
  }
  EXPECT_EQ(freed, (std::vector<int>{2, 1}));

  Owner d(4);
  refuse = true;
  EXPECT_FALSE(d.Close());
  refuse = false;
  EXPECT_TRUE(d.Close());  // nothing left to close
  EXPECT_EQ(freed, (std::vector<int>{2, 1, 4}));
}

}  // namespace
}  // namespace corvid
