#include "Handles.h"

#include <set>
#include <string>

#include "Report.h"
#include "Vuderiv.h"

namespace Vuderiv::detail {

namespace {

constexpr uint32_t kSlotBits = 20;
constexpr uint32_t kSlotMask = (uint32_t{1} << kSlotBits) - 1;
constexpr uint32_t kGenerations = uint32_t{1} << (32 - kSlotBits);
// Above this slot a handle has no room for a generation: such slots are always reused.
constexpr size_t kCountedSlots = kSlotMask;

// The dead handles said so far (canvas lock).
std::set<uint32_t>& reportedHandles() {
    static std::set<uint32_t> reported;
    return reported;
}

uint32_t Generation(const Shared& s, size_t slot) {
    return slot < s.generations.size() ? s.generations[slot] : 0;
}

// A handle of a bitmap destroyed while handles were not reused: its slot has been
// destroyed in since, so the handle's generation is not the slot's.
bool Dead(const Shared& s, uint32_t handle) {
    const uint32_t index = handle - 1;
    const size_t slot = index & kSlotMask;
    const uint32_t generation = index >> kSlotBits;
    return Generation(s, slot) != 0 && generation != Generation(s, slot);
}

void ReportDead(uint32_t handle) {
    if (!reportedHandles().insert(handle).second) return;
    Report("Vuderiv: bitmap " + std::to_string(handle) + " was destroyed; nothing is done with it");
}

BitStruct* InUse(Shared& s, size_t slot, uint32_t generation) {
    if (slot >= s.bit.size()) return nullptr;
    BitStruct& entry = s.bit[slot];
    return !entry.surface.Empty() && entry.generation == generation ? &entry : nullptr;
}

}  // namespace

BitStruct* LiveBitmap(Shared& s, uint32_t handle) {
    if (handle == 0) return nullptr;
    const uint32_t index = handle - 1;
    if (BitStruct* plain = InUse(s, index, 0)) return plain;  // a first generation
    BitStruct* counted = InUse(s, index & kSlotMask, index >> kSlotBits);
    if (counted != nullptr && counted->generation != 0) return counted;
    if (!s.reuseHandles && Dead(s, handle)) ReportDead(handle);
    return nullptr;
}

uint32_t IssueHandle(Shared& s, size_t slot) {
    const uint32_t generation = s.reuseHandles ? 0 : Generation(s, slot);
    s.bit[slot].generation = static_cast<uint16_t>(generation);
    return ((generation << kSlotBits) | static_cast<uint32_t>(slot)) + 1;
}

void CountDestruction(Shared& s, size_t slot) {
    if (s.reuseHandles || slot >= kCountedSlots) return;
    if (s.generations.size() <= slot) s.generations.resize(slot + 1, 0);
    s.generations[slot] = static_cast<uint16_t>((s.generations[slot] + 1) % kGenerations);
}

}  // namespace Vuderiv::detail

namespace Vuderiv {

void SetHandleReuse(bool reuse) {
    detail::Canvas canvas;
    detail::shared().reuseHandles = reuse;
}

}  // namespace Vuderiv
