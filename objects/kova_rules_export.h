// Symbol visibility of the kova_rules library: the exported classes and
// free functions carry KOVA_RULES_API; everything else is hidden.
#ifndef KOVA_RULES_EXPORT_H
#define KOVA_RULES_EXPORT_H

#if defined(_WIN32)
#define KOVA_RULES_API
#else
#define KOVA_RULES_API __attribute__((visibility("default")))
#endif

#endif
