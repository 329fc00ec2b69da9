// Symbol visibility of the host layer: everything a host library exports
// carries KOVA_HOST_API; the rest of the library is hidden.
#ifndef KOVA_HOST_EXPORT_H
#define KOVA_HOST_EXPORT_H

#if defined(_WIN32)
#define KOVA_HOST_API
#else
#define KOVA_HOST_API __attribute__((visibility("default")))
#endif

#endif
