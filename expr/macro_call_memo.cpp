// The per-validator memo of compiled macro calls' instances.
#include "expr/macro_call_memo.h"

#include <cstdint>
#include <cstring>

const KOVA_FN_MACRO* KOVA_MACRO_CALL_MEMO::find(const KOVA_OWNED_MAP<KOVA_FN_MACRO>& instances, const char* call) {
    const uintptr_t address = reinterpret_cast<uintptr_t>(call);
    SLOT& slot = m_slots[static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> 59) & (SLOTS - 1)];
    // An empty call text is never an instance name, so an empty slot never
    // answers for one.
    if (std::strcmp(slot.call.c_str(), call) != 0 || slot.call.empty()) {
        slot.call.assign(call);
        slot.memo.clear();
    }
    return instances.find_remembered(slot.call, slot.memo);
}
