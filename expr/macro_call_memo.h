// Which macro instance each macro call of the compiled programs names, so
// that a compiled call reads its instance's value without building the
// instance name as a string and looking it up by hash at every evaluation.
//
// One per validator, made on first use. A slot is chosen by the address
// of the call's instance-name text but holds its own copy of the name and
// answers only when that copy equals the text asked about, so a program
// released and another made at the same address can never be answered
// with the wrong instance. The instance itself comes from the map's own
// memo (KOVA_OBJ_MAP::find_remembered), which holds only while the map
// keeps the same objects.
#ifndef KOVA_MACRO_CALL_MEMO_H
#define KOVA_MACRO_CALL_MEMO_H

#include <cstddef>
#include <string>

#include "host/kova_owned_map.h"
#include "validator/kova_fn_macro.h"

class KOVA_MACRO_CALL_MEMO {
public:
    // The instance of instances named call, or null when it has none.
    const KOVA_FN_MACRO* find(const KOVA_OWNED_MAP<KOVA_FN_MACRO>& instances, const char* call);

private:
    struct SLOT {
        std::string call;  // the instance name remembered here; "" for none
        KOVA_MAP_MEMO memo;
    };
    static constexpr std::size_t SLOTS = 16;  // a power of two
    SLOT m_slots[SLOTS];
};

#endif
