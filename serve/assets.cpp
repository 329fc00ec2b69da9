// Looking up a file of kova serve's page by its request path, in the
// table generated from serve/web/.
#include "serve/assets.h"

const KOVA_SERVE_ASSET* kova_serve_asset(const std::string& path) {
    const std::string wanted = path == "/" ? "/index.html" : path;
    for (const KOVA_SERVE_ASSET* asset = kova_serve_asset_table; asset->path; ++asset)
        if (wanted == asset->path) return asset;
    return nullptr;
}
