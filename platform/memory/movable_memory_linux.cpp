// The movable block on Linux: zeroed memory from calloc that never moves.
#include <cstdlib>
#include <new>

#include "movable_memory.h"

namespace movable_memory {

struct Block {
  void* data;
  unsigned locks;
};

Handle allocate(size_t bytes) {
  Block* block = new (std::nothrow) Block{std::calloc(bytes != 0 ? bytes : 1, 1), 0};
  if (block == nullptr) return nullptr;
  if (block->data == nullptr) {
    delete block;
    return nullptr;
  }
  return block;
}

void* lock(Handle block) {
  if (block == nullptr) return nullptr;
  ++block->locks;
  return block->data;
}

void unlock(Handle block) {
  if (block != nullptr && block->locks > 0) --block->locks;
}

void release(Handle block) {
  if (block == nullptr) return;
  std::free(block->data);
  delete block;
}

}  // namespace movable_memory
