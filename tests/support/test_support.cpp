#include "support/test_support.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

std::string temp_folder() {
    static const std::string folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/kova-tests-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        const char* made = mkdtemp(buffer.data());
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

std::string write_temp_file(const std::string& name, const std::string& content) {
    std::string path = temp_folder() + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path;
}

std::string test_data(const std::string& name) { return std::string(KOVA_TEST_DATA) + "/" + name; }

KOVA_OBJ_INFO* VALIDATOR_PROBE::add_object(const std::string& name, int type, const std::string& value,
                                           const std::string& default_value) {
    KOVA_OBJ_INFO* object = add_kova_obj(name, type);
    if (object) {
        object->set_value(value);
        object->set_default_value(default_value);
    }
    return object;
}
