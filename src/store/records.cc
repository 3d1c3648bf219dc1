#include "store/records.h"

#include <algorithm>

namespace kw {

void AddRef(RefList& list, int32_t number) { list.entries.push_back(number); }

int HasRef(const RefList& list, int32_t number) {
  return std::find(list.entries.begin(), list.entries.end(), number) != list.entries.end() ? 1 : 0;
}

void RemoveRef(RefList& list, int32_t number) {
  auto it = std::find(list.entries.begin(), list.entries.end(), number);
  if (it != list.entries.end()) list.entries.erase(it);
}

}  // namespace kw
