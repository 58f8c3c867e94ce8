// A growable pointer array with one tag byte per entry; tags 254 and 255 mark owned items.
#pragma once

#include <cstdint>

constexpr uint8_t kTagOwned = 254;     // freed by Remove and by Destroy
constexpr uint8_t kTagOwnedKeep = 255; // freed by Destroy only

// Owned items must have been allocated with MemAlloc/AllocZeroed (they are freed with MemFree).
struct PointerList {
  int32_t last = -1;
  int32_t capacity = 0;
  void* owner = nullptr;
  void** items = nullptr;
  uint8_t* tags = nullptr;

  void Create(void* owner);
  void Append(void* item, uint8_t tag);
  int32_t Count() const { return last + 1; }
  void* Get(int32_t i) const;
  uint8_t Tag(int32_t i) const;
  void Remove(int32_t i);
  void Destroy();
};
