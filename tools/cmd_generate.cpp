// kova generate: source text for the configuration (generate/generate.h
// does the work). Text goes to standard output, or with -o to a file
// replaced atomically; messages go to standard error. Exits 0 when
// generated from a valid configuration, 1 when the configuration is
// invalid (refused, or written with --force), holds a port at a constant
// wider than the port (refused unless --force), or cannot be written in
// the language, 2 on usage or file errors.
#include <sstream>

#include "generate/answer.h"
#include "session/file_io.h"
#include "tools/subcommands.h"

namespace {

struct GENERATE_ARGUMENTS {
    std::string language;
    std::string output;
    KOVA_GENERATE_OPTIONS options;
};

}  // namespace

void add_generate_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("generate", "Write a wrapper, a stub, a C header or JSON for the configuration");
    add_load_options(*command, state);
    add_settings_options(*command, state);
    auto arguments = std::make_shared<GENERATE_ARGUMENTS>();
    command->add_option("--lang", arguments->language, "Target: " + kova_generate_language_list())
        ->required()
        ->check(CLI::IsMember(kova_generate_language_names()));
    command->add_flag("--stub", arguments->options.stub,
                      "Write an empty module (entity) of the block itself instead of the wrapper");
    command->add_option("--name", arguments->options.name,
                        "Name of the wrapper (default: FUNCTION_cfg), or the macro prefix for c (default: FUNCTION)");
    command->add_option("-o,--output", arguments->output, "Write to this file (replaced atomically) instead of standard output");
    command->add_flag("--force", arguments->options.force,
                      "Generate even when the configuration is invalid (exit 1) or a port constant is wider than "
                      "its port (written cut to the port's width)");
    command->add_option("--export", arguments->options.exports,
                        "Add these hidden parameters or wizard-map values (NAME,...): #defines in c, parameters "
                        "(generics) of the wrapper and stub in verilog, systemverilog and vhdl")
        ->delimiter(',');
    arguments->options.force_hint = " (--force generates it anyway)";
    command->footer("Example: kova generate examples/ram.xml --settings examples/ram-dual.settings --lang verilog -o ram_cfg.v\n"
                    "With a derived value: kova generate examples/uart.xml --lang c --export DIVISOR");
    command->callback([&state, arguments]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT& run, KOVA_ANSWER& answer) {
            kova_generate_language_of(arguments->language, arguments->options.language);
            kova_generate_answer(session, run, arguments->options, arguments->output.empty(), answer);
            if (answer.problem) answer.problem.text = "--" + answer.problem.text;  // the options' words
            if (!answer.text || arguments->output.empty()) return;
            std::ostringstream text;
            answer.text(text);
            answer.text = nullptr;
            std::string error;
            if (!kova_write_file_atomically(arguments->output, text.str(), error))
                answer.problem = kova_problem(KOVA_PROBLEM_KIND::FILE, "cannot write " + arguments->output + ": " + error);
        });
    });
}
