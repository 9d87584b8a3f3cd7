// The movable block on Windows: the system's global memory, movable and
// zero-initialised, locked to an address while it is used.
#include <windows.h>

#include "movable_memory.h"

namespace movable_memory {

namespace {

HGLOBAL global(Handle block) { return reinterpret_cast<HGLOBAL>(block); }

}  // namespace

Handle allocate(size_t bytes) {
  return reinterpret_cast<Handle>(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes != 0 ? bytes : 1));
}

void* lock(Handle block) { return block != nullptr ? GlobalLock(global(block)) : nullptr; }

void unlock(Handle block) {
  if (block != nullptr) GlobalUnlock(global(block));
}

void release(Handle block) {
  if (block != nullptr) GlobalFree(global(block));
}

}  // namespace movable_memory
