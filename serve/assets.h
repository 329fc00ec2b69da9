// The files of kova serve's page (serve/web/), built into the program by
// cmake/embed_assets.cmake, so that the server reads no file at run time
// and no path from a request ever reaches the file system.
#ifndef KOVA_SERVE_ASSETS_H
#define KOVA_SERVE_ASSETS_H

#include <cstddef>
#include <string>

struct KOVA_SERVE_ASSET {
    const char* path;                  // "/index.html": the file's path under serve/web/
    const unsigned char* data;         // its bytes
    std::size_t size;
    const char* content_type;          // by the file's extension
};

// Every file of the page, ended by an entry whose path is null
// (generated).
extern const KOVA_SERVE_ASSET kova_serve_asset_table[];

// The file at a request path, null when there is none; "/" is
// "/index.html". The path is only compared with the table's.
const KOVA_SERVE_ASSET* kova_serve_asset(const std::string& path);

#endif
