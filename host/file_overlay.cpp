// The overlay of file texts: one immutable map behind a shared pointer,
// swapped whole under a mutex.
#include "host/file_overlay.h"

#include <filesystem>
#include <memory>
#include <mutex>

namespace {

using TEXTS = std::map<std::string, std::string>;

std::mutex& overlay_mutex() {
    static std::mutex mutex;
    return mutex;
}

// Null while no front end set an overlay, so that a load pays one lock.
std::shared_ptr<const TEXTS>& overlay_texts() {
    static std::shared_ptr<const TEXTS> texts;
    return texts;
}

}  // namespace

std::string kova_overlay_key(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return (absolute.empty() ? std::filesystem::path(path) : absolute).lexically_normal().string();
}

void kova_set_file_overlay(TEXTS texts) {
    auto shared = texts.empty() ? nullptr : std::make_shared<const TEXTS>(std::move(texts));
    std::lock_guard<std::mutex> lock(overlay_mutex());
    overlay_texts() = std::move(shared);
}

bool kova_file_overlay(const std::string& path, std::string& text) {
    std::shared_ptr<const TEXTS> texts;
    {
        std::lock_guard<std::mutex> lock(overlay_mutex());
        texts = overlay_texts();
    }
    if (!texts) return false;
    const auto found = texts->find(kova_overlay_key(path));
    if (found == texts->end()) return false;
    text = found->second;
    return true;
}
