// PointerList: grows by ten entries at a time; frees the items it owns.
#include "core/pointer_list.h"

#include <cstring>

#include "core/files.h"

void PointerList::Create(void* listOwner) {
  last = -1;
  owner = listOwner;
  items = static_cast<void**>(AllocZeroed(10 * sizeof(void*)));
  tags = static_cast<uint8_t*>(AllocZeroed(10));
  capacity = (items && tags) ? 10 : 0;
}

void PointerList::Append(void* item, uint8_t tag) {
  if (last + 1 >= capacity) {
    size_t entries = size_t(capacity) + 11;
    void** newItems = static_cast<void**>(AllocZeroed(entries * sizeof(void*)));
    uint8_t* newTags = static_cast<uint8_t*>(AllocZeroed(entries));
    if (!newItems || !newTags) {
      MemFree(newItems);
      MemFree(newTags);
      return;  // the item is not stored; the list stays as it was
    }
    if (items) memcpy(newItems, items, size_t(last + 1) * sizeof(void*));
    if (tags) memcpy(newTags, tags, size_t(last + 1));
    MemFree(items);
    MemFree(tags);
    items = newItems;
    tags = newTags;
    capacity += 10;
  }
  items[last + 1] = item;
  tags[last + 1] = tag;
  ++last;
}

void* PointerList::Get(int32_t i) const {
  if (i < 0 || i > last) return nullptr;
  return items[i];
}

uint8_t PointerList::Tag(int32_t i) const {
  if (i < 0 || i > last) return 0;
  return tags[i];
}

void PointerList::Remove(int32_t i) {
  if (i < 0 || i > last) return;
  if (tags[i] == kTagOwned) MemFree(items[i]);
  for (int32_t j = i; j < last; ++j) {
    items[j] = items[j + 1];
    tags[j] = tags[j + 1];
  }
  --last;
}

void PointerList::Destroy() {
  for (int32_t i = 0; i <= last; ++i) {
    if (tags[i] == kTagOwned || tags[i] == kTagOwnedKeep) MemFree(items[i]);
  }
  MemFree(items);
  MemFree(tags);
  items = nullptr;
  tags = nullptr;
  last = -1;
  capacity = 0;
}
