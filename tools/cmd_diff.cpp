// kova diff: two settings files compared over one description (with
// --description), or two versions of a description; exit status 0 when
// equal, 1 when not, 2 on errors.
#include <filesystem>
#include <fstream>

#include "session/description_diff.h"
#include "session/settings_diff.h"
#include "session/settings_io.h"
#include "tools/subcommands.h"

namespace {

struct DIFF_OPTIONS {
    std::string first, second;
};

// Whether a file reads as XML: its first byte after blanks (and a byte
// order mark) is '<'. A settings file never starts so. What is no regular
// file is not opened here (a FIFO would wait for a writer): the
// description reader refuses it in its own words.
bool looks_like_xml(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) return true;
    std::ifstream in(path, std::ios::binary);
    std::string start(256, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    if (start.rfind("\xEF\xBB\xBF", 0) == 0) start.erase(0, 3);
    const std::size_t first = start.find_first_not_of(" \t\r\n");
    return first != std::string::npos && start[first] == '<';
}

void diff_settings(KOVA_TOOL_STATE& state, const DIFF_OPTIONS& options) {
    KOVA_MESSAGES messages;
    const std::unique_ptr<KOVA_SESSION> session = open_session(state, messages);
    if (!session) return;
    KOVA_DIFF_INPUT a{options.first, {}}, b{options.second, {}};
    for (KOVA_DIFF_INPUT* input : {&a, &b})
        if (KOVA_PROBLEM problem = kova_read_settings_file(input->file, input->settings, messages))
            return report_problem(state, kova_refused(std::move(messages), problem.kind));
    KOVA_ANSWER answer;
    answer.messages = std::move(messages);
    kova_settings_diff_answer(*session, a, b, answer);
    print_answer(state, answer, std::nullopt, !answer.problem && answer.document["equal"].get<bool>());
}

void diff_descriptions(KOVA_TOOL_STATE& state, const DIFF_OPTIONS& options) {
    for (const std::string& file : {options.first, options.second})
        if (!looks_like_xml(file))
            return report_failure(state, file + " is no description; to compare two settings files, name their "
                                                "description with --description");
    KOVA_MESSAGES messages;
    state.load.description = options.first;
    const std::unique_ptr<KOVA_SESSION> old_session = open_session(state, messages);
    if (!old_session) return;
    state.load.description = options.second;
    const std::unique_ptr<KOVA_SESSION> new_session = open_session(state, messages);
    if (!new_session) return;
    KOVA_ANSWER answer;
    kova_description_diff_answer(*old_session, *new_session, answer);
    print_answer(state, answer, std::nullopt, answer.document["equal"].get<bool>());
}

}  // namespace

void add_diff_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("diff", "Compare two settings files over a description, or two versions of "
                                               "a description");
    auto options = std::make_shared<DIFF_OPTIONS>();
    command->add_option("first", options->first, "The first settings file, or the old description")->required();
    command->add_option("second", options->second, "The second settings file, or the new description")->required();
    command->add_option("--description", state.load.description,
                        "The description both settings files are for; without it both files are descriptions");
    command->add_option("--lib", state.load.library_dir, "Library folder searched first for included sub-models");
    command->add_option("--format", state.format, "Output: text, or one JSON document")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    command->footer("Example: kova diff examples/versions/uart-v1.xml examples/versions/uart-v2.xml");
    command->callback([&state, options]() {
        if (state.load.description.empty())
            diff_descriptions(state, *options);
        else
            diff_settings(state, *options);
    });
}
