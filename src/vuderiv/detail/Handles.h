// Bitmap handles and the slots they name. Private to Vuderiv; every function is called
// with the canvas lock held.
//
// While handles are reused (the start value) handle h names slot h - 1, as it always has.
// Otherwise a handle also names a generation of its slot: the slot in the low 20 bits of
// h - 1, and in the 12 above them how often a bitmap in that slot had been destroyed when
// this one was made. A destroyed bitmap's handle then names an old generation, and is not
// given out again until its slot's count wraps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Shared.h"

namespace Vuderiv::detail {

// The colour key of a bitmap without one: no colour value has bits 24-31 set.
constexpr uint32_t kNoColorKey = 0xFFFFFFFF;

// The slot of a valid handle, or nullptr. With handles not reused, the first use of a dead
// handle writes one line on standard error.
BitStruct* LiveBitmap(Shared& s, uint32_t handle);
// The handle of the bitmap just entered at a slot position, under its slot's generation.
uint32_t IssueHandle(Shared& s, size_t slot);
// Counts the destruction of the bitmap at a slot (with handles not reused).
void CountDestruction(Shared& s, size_t slot);

}  // namespace Vuderiv::detail
