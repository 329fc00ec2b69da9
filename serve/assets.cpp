// Looking up a file of kova serve's page by its request path, in the
// table generated from serve/web/. The page names no generate language
// itself: its index gets them from generate/'s one list.
#include "serve/assets.h"

#include <string_view>

#include "generate/generate.h"

namespace {

const char* const k_languages_marker = "<!-- generate languages -->";

// One option per language; its extension names the downloaded file, and
// stub marks a language a stub applies to.
std::string language_options() {
    std::string options;
    for (const KOVA_GENERATE_LANGUAGE_INFO& language : kova_generate_languages())
        options += std::string("<option value=\"") + language.name + "\" data-extension=\"" + language.extension +
                   "\"" + (language.hardware ? " data-stub" : "") + ">" + language.title + "</option>";
    return options;
}

// The index with the languages in place of its marker, made once.
const KOVA_SERVE_ASSET* filled_index(const KOVA_SERVE_ASSET& raw) {
    static const std::string text = [&raw] {
        std::string page(reinterpret_cast<const char*>(raw.data), raw.size);
        const std::string_view marker = k_languages_marker;
        const std::size_t at = page.find(marker);
        if (at != std::string::npos) page.replace(at, marker.size(), language_options());
        return page;
    }();
    static const KOVA_SERVE_ASSET filled{raw.path, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                                         raw.content_type};
    return &filled;
}

}  // namespace

const KOVA_SERVE_ASSET* kova_serve_asset(const std::string& path) {
    const std::string wanted = path == "/" ? "/index.html" : path;
    for (const KOVA_SERVE_ASSET* asset = kova_serve_asset_table; asset->path; ++asset)
        if (wanted == asset->path) return wanted == "/index.html" ? filled_index(*asset) : asset;
    return nullptr;
}
