#include "support/test_support.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <sys/wait.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

// The temporary folder of one test process, made on first use and removed
// with everything in it when the process ends normally.
struct TEMP_FOLDER {
    std::string path;
    TEMP_FOLDER() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/kova-tests-XXXXXX";
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~TEMP_FOLDER() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

std::string temp_folder() {
    static const TEMP_FOLDER folder;
    return folder.path.empty() ? "/tmp" : folder.path;
}

std::string write_temp_file(const std::string& name, const std::string& content) {
    std::string path = temp_folder() + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path;
}

std::string test_data(const std::string& name) { return std::string(KOVA_TEST_DATA) + "/" + name; }

std::string example(const std::string& name) { return std::string(KOVA_EXAMPLES) + "/" + name; }

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string kova_tool() {
    const char* stand_in = std::getenv("KOVA_TEST_TOOL");
    return "'" + std::string(stand_in && *stand_in ? stand_in : KOVA_TOOL) + "'";
}

TOOL_RUN run_kova(const std::string& arguments, bool with_errors) {
    return run_shell(kova_tool() + " " + arguments + (with_errors ? " 2>&1" : " 2>/dev/null"));
}

TOOL_RUN run_shell(const std::string& command) {
    TOOL_RUN run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    for (std::size_t got; (got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.out.append(buffer.data(), got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

KOVA_OBJ_INFO* VALIDATOR_PROBE::add_object(const std::string& name, int type, const std::string& value,
    const std::string& default_value) {
    KOVA_OBJ_INFO* object = add_kova_obj(name, type);
    if (object) {
        object->set_value(value);
        object->set_default_value(default_value);
    }
    return object;
}

KOVA_OBJ_INFO* VALIDATOR_PROBE::add_rule(const std::string& name, int type, const std::string& condition,
                                         const std::string& value, const std::string& alt, int rule_type) {
    KOVA_OBJ_INFO* object = get_kova_obj(name) ? get_kova_obj(name) : add_object(name, type);
    const KOVA_RULE_ELEMENT rule(value, condition, alt, rule_type);
    if (object) object->add_rule(&rule);
    return object;
}

KOVA_OBJ_INFO* VALIDATOR_PROBE::add_macro(const std::string& name, const std::string& body,
    const std::string& formals) {
    KOVA_OBJ_INFO* macro = add_object(name, KOVA_OBJ_FN_MACRO, body);
    if (macro) macro->set_arguments(formals);
    return macro;
}

std::vector<std::string> keys_of(const KOVA_NAME_MAP& names) {
    std::vector<std::string> keys;
    for (const KOVA_NAME_MAP::entry& entry : names) keys.push_back(entry.first);
    return keys;
}

std::string record_text(const KOVA_DIAGNOSTIC& record) {
    static const char* const fields[] = {"element", "name", "value", "condition", "alt_value"};
    const std::string field = record.field < 5 ? fields[record.field] : "field " + std::to_string(record.field);
    return record.object + "#" + std::to_string(record.rule_index) + " " + field + " " +
           kova_severity_name(record.severity) + " " + kova_diagnostic_kind_name(record.kind) + ": " + record.text;
}

// The text of the Markdown code span that starts at text[at] (a run of n
// backticks, up to the next run of exactly n), line ends read as blanks and
// one blank taken off each end when it has both; "" when none starts there.
static std::string code_span(const std::string& text, std::size_t at) {
    const std::size_t ticks = text.find_first_not_of('`', at) - at;
    if (ticks == 0) return "";
    std::size_t end = at + ticks;
    while ((end = text.find('`', end)) != std::string::npos) {
        const std::size_t run = text.find_first_not_of('`', end) - end;
        if (run == ticks) break;
        end += run;
    }
    std::string span = text.substr(at + ticks, end - at - ticks);
    for (char& c : span)
        if (c == '\n') c = ' ';
    if (span.size() > 2 && span.front() == ' ' && span.back() == ' ') span = span.substr(1, span.size() - 2);
    return span;
}

std::map<std::string, std::string> catalogued_templates() {
    const std::string text = file_text(std::string(KOVA_SOURCE_DIR) + "/docs/messages.md");
    const std::string template_line = "\nTemplate: ", example_line = "Example:";
    std::map<std::string, std::string> found;
    for (std::size_t at = text.find(template_line); at != std::string::npos;) {
        const std::string entry_template = code_span(text, at + template_line.size());
        const std::size_t next = text.find(template_line, at + 1);
        const std::size_t example = text.find(example_line, at);
        std::string& given = found[entry_template];
        if (example < next) {
            const std::size_t start = text.find_first_not_of(" \n", example + example_line.size());
            std::string words = text.substr(start, 15);
            std::replace(words.begin(), words.end(), '\n', ' ');
            given = words == "the text itself" ? entry_template : code_span(text, start);
        }
        at = next;
    }
    return found;
}
