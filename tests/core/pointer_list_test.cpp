// PointerList: growth by ten, removal, and which entries the list frees.
#include "core/core.h"
#include "test_support.h"

TEST(PointerList, GrowsByTenAndKeepsOrder) {
  PointerList list;
  list.Create(nullptr);
  EXPECT_EQ(list.capacity, 10);
  EXPECT_EQ(list.Count(), 0);
  int values[25];
  for (int i = 0; i < 10; ++i) list.Append(&values[i], 0);
  EXPECT_EQ(list.capacity, 10);
  list.Append(&values[10], 0);  // the 11th grows the list
  EXPECT_EQ(list.capacity, 20);
  for (int i = 11; i < 25; ++i) list.Append(&values[i], 0);
  EXPECT_EQ(list.capacity, 30);
  ASSERT_EQ(list.Count(), 25);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(list.Get(i), &values[i]);
  EXPECT_EQ(list.Get(list.Count()), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  list.Destroy();
}

TEST(PointerList, RemoveShiftsAndFreesOnlyOwnedItems) {
  PointerList list;
  list.Create(nullptr);
  int borrowed = 0;
  void* owned = MemAlloc(16);
  void* ownedKeep = MemAlloc(16);
  list.Append(&borrowed, 1);
  list.Append(owned, kTagOwned);
  list.Append(ownedKeep, kTagOwnedKeep);
  list.Append(&borrowed, 7);
  list.Remove(1);  // frees `owned` (the sanitizer run would report a leak otherwise)
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Get(1), ownedKeep);
  EXPECT_EQ(list.Tag(1), kTagOwnedKeep);
  EXPECT_EQ(list.Tag(2), 7);
  list.Destroy();  // frees `ownedKeep`, leaves the borrowed ones alone
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(borrowed, 0);
}
