// kova generate's entry: the options checked, the configuration computed,
// an invalid one refused unless forced, and the language's writer called.
#include "generate/generate.h"

#include "generate/configuration.h"
#include "generate/writers.h"

namespace {

bool is_hardware(KOVA_GENERATE_LANGUAGE language) {
    return language == KOVA_GENERATE_LANGUAGE::VERILOG || language == KOVA_GENERATE_LANGUAGE::SYSTEMVERILOG ||
           language == KOVA_GENERATE_LANGUAGE::VHDL;
}

// The text of one language, or "" with problems.
std::string written(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_GEN_CONFIG& config,
                    const KOVA_GENERATED& generated, const KOVA_GENERATE_OPTIONS& options, KOVA_MESSAGES& problems) {
    switch (options.language) {
    case KOVA_GENERATE_LANGUAGE::VERILOG: return kova_write_verilog(config, false, options, problems);
    case KOVA_GENERATE_LANGUAGE::SYSTEMVERILOG: return kova_write_verilog(config, true, options, problems);
    case KOVA_GENERATE_LANGUAGE::VHDL: return kova_write_vhdl(config, options, problems);
    case KOVA_GENERATE_LANGUAGE::C: return kova_write_c_header(config, options, problems);
    case KOVA_GENERATE_LANGUAGE::JSON: break;
    }
    return kova_write_json(session, run, generated);
}

// True, with an error for each, when a port is held at a constant wider
// than the port.
bool refuse_wide_constants(const KOVA_SESSION& session, KOVA_GENERATED& generated) {
    const KOVA_MESSAGES wide = session.constant_width_warnings();
    for (KOVA_MESSAGE message : wide) {
        message.severity = KOVA_SEVERITY_ERROR;
        message.text = "nothing generated: " + message.text + " (--force generates it anyway)";
        generated.messages.push_back(std::move(message));
    }
    return !wide.empty();
}

}  // namespace

KOVA_PROBLEM kova_generate_options_problem(const KOVA_GENERATE_OPTIONS& options) {
    const auto usage = [](std::string text) { return kova_problem(KOVA_PROBLEM_KIND::USAGE, std::move(text)); };
    if (options.stub && !is_hardware(options.language))
        return usage("stub applies to verilog, systemverilog and vhdl, not " +
                     std::string(kova_generate_language_name(options.language)));
    if (options.stub && !options.name.empty()) return usage("name names the wrapper; a stub takes the block's own name");
    if (!options.name.empty() && options.language == KOVA_GENERATE_LANGUAGE::JSON)
        return usage("name does not apply to json");
    return {};
}

KOVA_GENERATED kova_generate(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_GENERATE_OPTIONS& options) {
    KOVA_GENERATED generated;
    const KOVA_PROBLEM problem = kova_generate_options_problem(options);
    if (problem) {
        generated.messages.push_back(kova_generate_problem("", {}, problem.text));
        return generated;
    }
    const KOVA_GEN_CONFIG config = kova_generate_configuration(session);
    generated.messages = config.messages;
    generated.members = kova_configuration_members(config, options.language);
    if (!run.valid && !options.force) {
        generated.messages.push_back(kova_make_message(
            KOVA_SEVERITY_NOTE, KOVA_DIAG_OTHER, "nothing generated: the configuration is not valid (--force generates it anyway)"));
        return generated;
    }
    // A constant wider than its port would be written cut to the port's
    // width, a value the user did not give.
    if (!options.force && refuse_wide_constants(session, generated)) return generated;
    KOVA_MESSAGES problems;
    generated.text = written(session, run, config, generated, options, problems);
    generated.ok = problems.empty();
    if (!generated.ok) generated.text.clear();
    generated.messages.insert(generated.messages.end(), problems.begin(), problems.end());
    return generated;
}
