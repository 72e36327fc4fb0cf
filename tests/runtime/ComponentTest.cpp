#include <gtest/gtest.h>

#include "runtime/Component.h"
#include "runtime/Exception.h"

namespace {

struct TCounted : TComponent {
  explicit TCounted(TComponent* owner, int* alive) : TComponent(owner), FAlive(alive) { ++*FAlive; }
  ~TCounted() override { --*FAlive; }
  int* FAlive;
};

TEST(Component, OwnerFreesWhatItOwns) {
  int alive = 0;
  {
    TComponent owner;
    auto* a = new TCounted(&owner, &alive);
    new TCounted(a, &alive);  // grandchild
    new TCounted(&owner, &alive);
    EXPECT_EQ(alive, 3);
    EXPECT_EQ(owner.ComponentCount(), 2);
  }
  EXPECT_EQ(alive, 0);
}

TEST(Component, ChildFreedFirstLeavesOwnersList) {
  int alive = 0;
  TComponent owner;
  auto* a = new TCounted(&owner, &alive);
  a->SetName("First");
  EXPECT_EQ(owner.FindComponent("First"), a);
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(owner.FindComponent("First"), nullptr);
}

TEST(Exception, MessagesAreByteExact) {
  EXPECT_STREQ(EZeroDivide().what(), "Gleitkommadivision durch Null");
  EXPECT_STREQ(EInvalidOp().what(), "Ung\xFCltige Gleitkommaoperation");
  EXPECT_STREQ(EOverflow().what(), "Gleitkomma\xFC" "berlauf");
  EXPECT_STREQ(Exception("Dividion by zero.").what(), "Dividion by zero.");
}

}  // namespace
