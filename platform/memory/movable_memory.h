// A movable, zero-initialised block of memory: allocated by size, locked to
// an address while it is used, unlocked and freed. The sample buffer of the
// sampling checks lives in one.
//
// The system's global memory calls stand behind it; on Linux a plain zeroed
// block does. The library is linked by name, so another library of the same
// name found first on the library path takes its place (the tests use one
// that refuses).
#pragma once

#include <cstddef>

namespace movable_memory {

struct Block;
using Handle = Block*;  // nullptr: no block

// A zero-initialised block of `bytes` bytes; nullptr when it cannot be had.
Handle allocate(size_t bytes);

// The block's address until the matching unlock; nullptr when it cannot be locked.
void* lock(Handle block);

void unlock(Handle block);

// Frees the block (nullptr: nothing). Its address is void from here on.
void release(Handle block);

}  // namespace movable_memory
