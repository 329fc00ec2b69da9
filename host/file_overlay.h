// Texts that stand in for description files: an editor's unsaved buffers,
// which a load reads in place of the file at the same path (an included
// file too), so that what the editor shows is what is checked. Keyed by
// the absolute, lexically normal path; empty unless a front end sets it.
//
// Thread rule: the overlay is replaced as a whole and read through a
// shared snapshot, so readers on other threads see either the old or the
// new set of texts, never a mix.
#ifndef KOVA_FILE_OVERLAY_H
#define KOVA_FILE_OVERLAY_H

#include <map>
#include <string>

#include "host/kova_host_export.h"

// The key of path in the overlay: absolute and lexically normal.
KOVA_HOST_API std::string kova_overlay_key(const std::string& path);

// Replaces the overlay with texts, keyed by kova_overlay_key.
KOVA_HOST_API void kova_set_file_overlay(std::map<std::string, std::string> texts);

// The overlay's text for path: true with it in text when one stands in
// for the file, false (text untouched) when the file is read from disk.
KOVA_HOST_API bool kova_file_overlay(const std::string& path, std::string& text);

#endif
