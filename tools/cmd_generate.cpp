// kova generate: source text for the configuration (generate/generate.h
// does the work). Text goes to standard output, or with -o to a file
// replaced atomically; messages go to standard error. Exits 0 when
// generated from a valid configuration, 1 when the configuration is
// invalid (refused, or written with --force), holds a port at a constant
// wider than the port (refused unless --force), or cannot be written in
// the language, 2 on usage or file errors.
#include "generate/generate.h"
#include "session/file_io.h"
#include "session/json_text.h"
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
    command->footer("Example: kova generate examples/ram.xml --settings examples/ram-dual.settings --lang verilog -o ram_cfg.v");
    command->callback([&state, arguments]() {
        run_command(state, true, [&](KOVA_SESSION& session, const KOVA_RUN_RESULT& run, KOVA_COMMAND_OUTPUT& output) {
            kova_generate_language_of(arguments->language, arguments->options.language);
            output.usage_problem = kova_generate_options_problem(arguments->options);
            if (!output.usage_problem.empty()) return;
            KOVA_GENERATED generated = kova_generate(session, run, arguments->options);
            output.product = true;
            output.messages = generated.messages;
            output.failed = !generated.ok;
            output.document = generated.members;
            const bool in_document = generated.ok && arguments->output.empty() &&
                                     arguments->options.language != KOVA_GENERATE_LANGUAGE::JSON;
            output.document["text"] = in_document ? kova_json_text(generated.text) : nlohmann::json();
            if (!generated.ok) return;
            std::string error;
            if (!arguments->output.empty()) {
                if (!kova_write_file_atomically(arguments->output, generated.text, error))
                    output.usage_problem = "cannot write " + arguments->output + ": " + error;
                return;
            }
            output.text = [text = std::move(generated.text)](std::ostream& out) { out << text; };
        });
    });
}
