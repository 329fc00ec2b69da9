// NUVO_UINTEGER: an unsigned integer of a fixed bit width that is either
// known or unknown (X). Its text form is a string of binary digits, most
// significant first, exactly `width` digits long ("X" digits while the
// value is unknown).
//
// Widths below 0 count as 0; widths above NUVO_MAX_WIDTH are clamped to it,
// so no description can make a value allocate without bound.
#ifndef NUVO_INT_H
#define NUVO_INT_H

#include <cstdint>
#include <string>
#include <vector>

#include "kova_host_export.h"

class KOVA_HOST_API NUVO_UINTEGER {
public:
    static constexpr int NUVO_MAX_WIDTH = 1 << 20;

    NUVO_UINTEGER(uint32_t value = 0, int width = 32);
    NUVO_UINTEGER(const NUVO_UINTEGER& other) = default;
    NUVO_UINTEGER& operator=(const NUVO_UINTEGER& other) = default;
    // A known value, truncated to this width.
    NUVO_UINTEGER& operator=(uint32_t value);
    // Takes source's value, or its unknown state, at this value's own
    // width, as a binary conversion for this width does: a wider value
    // keeps its low bits, a narrower one is extended with zeros. (Plain
    // assignment takes the source's width too.) Allocates nothing.
    void assign_keeping_width(const NUVO_UINTEGER& source) noexcept;
    virtual ~NUVO_UINTEGER();

    int width() const { return m_width; }
    bool is_x() const { return m_is_x; }
    void force_x();

    // Loads binary digits (most significant first). Digits beyond the
    // width are dropped from the top, missing ones are 0. Any character
    // other than 0 or 1 leaves the value unchanged and answers false.
    bool set_value_from_bin_string(const std::string& digits);
    // Binary digits of the value, owned by the object and valid until the
    // next change or call.
    const char* as_bin_string() const;
    // The low 32 bits; 0xFFFFFFFF while the value is unknown.
    uint32_t uint() const;

    // Numeric comparison of known values, whatever their widths; false
    // when either is unknown (so an unknown value is not equal to itself).
    bool operator>(const NUVO_UINTEGER& other) const;
    bool operator<(const NUVO_UINTEGER& other) const;
    bool operator==(const NUVO_UINTEGER& other) const;

private:
    int compare(const NUVO_UINTEGER& other) const;
    void clear_words();

    int m_width;
    bool m_is_x = false;
    std::vector<uint64_t> m_words;  // little-endian 64-bit words
    mutable std::string m_text;
};

#endif
