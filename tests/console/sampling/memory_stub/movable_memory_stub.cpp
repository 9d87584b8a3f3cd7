// Another movable memory library of the same name, put first on the library
// path by the tests: it tells every call on stderr, one line each, and where
// built so refuses the allocation (STUB_REFUSE_ALLOCATE) or the lock
// (STUB_REFUSE_LOCK).
#include <cstdio>
#include <cstdlib>

#include "movable_memory.h"

namespace movable_memory {

struct Block {
  void* data;
};

Handle allocate(size_t bytes) {
  std::fprintf(stderr, "allocate %zu\n", bytes);
#ifdef STUB_REFUSE_ALLOCATE
  return nullptr;
#else
  return new Block{std::calloc(bytes, 1)};
#endif
}

void* lock(Handle block) {
  std::fprintf(stderr, "lock\n");
#ifdef STUB_REFUSE_LOCK
  (void)block;
  return nullptr;
#else
  return block->data;
#endif
}

void unlock(Handle block) {
  (void)block;
  std::fprintf(stderr, "unlock\n");
}

void release(Handle block) {
  std::fprintf(stderr, "release\n");
  if (block == nullptr) return;
  std::free(block->data);
  delete block;
}

}  // namespace movable_memory
