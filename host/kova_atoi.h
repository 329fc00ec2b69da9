// The integer view of a text, as the classic C atoi reads it but without
// undefined behaviour: leading white space skipped, an optional sign, then
// decimal digits up to the first other character; 0 when there are none.
// A value beyond the 32-bit signed range is clamped to its nearest limit.
// A null text reads as 0.
#ifndef KOVA_ATOI_H
#define KOVA_ATOI_H

#include <cstdint>
#include <string>

#include "kova_host_export.h"

KOVA_HOST_API int32_t kova_atoi(const char* text);
inline int32_t kova_atoi(const std::string& text) { return kova_atoi(text.c_str()); }

#endif
