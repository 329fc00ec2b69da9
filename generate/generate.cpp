// kova generate's entry: the options checked, the configuration computed,
// an invalid one refused unless forced, and the language's writer called.
#include "generate/generate.h"

#include "generate/configuration.h"
#include "generate/writers.h"

namespace {

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

// The problem of a configuration refused: "nothing generated: REASON".
KOVA_PROBLEM refused(const std::string& reason) {
    return kova_problem(KOVA_PROBLEM_KIND::INVALID_VALUE, "nothing generated: " + reason);
}

// True, with an error for each, when a port is held at a constant wider
// than the port.
bool refuse_wide_constants(const KOVA_SESSION& session, const KOVA_GENERATE_OPTIONS& options,
                           KOVA_GENERATED& generated) {
    const KOVA_MESSAGES wide = session.constant_width_warnings();
    for (KOVA_MESSAGE message : wide) {
        message.severity = KOVA_SEVERITY_ERROR;
        message.text = "nothing generated: " + message.text + options.force_hint;
        generated.messages.push_back(std::move(message));
    }
    if (!wide.empty()) generated.problem = refused("a port is held at a constant wider than the port");
    return !wide.empty();
}

}  // namespace

KOVA_PROBLEM kova_generate_options_problem(const KOVA_GENERATE_OPTIONS& options) {
    const auto usage = [](std::string text) { return kova_problem(KOVA_PROBLEM_KIND::USAGE, std::move(text)); };
    if (options.stub && !kova_generate_language_info(options.language).hardware)
        return usage("stub applies to " + kova_generate_language_list(true) + ", not " +
                     kova_generate_language_name(options.language));
    if (options.stub && !options.name.empty()) return usage("name names the wrapper; a stub takes the block's own name");
    if (!options.name.empty() && options.language == KOVA_GENERATE_LANGUAGE::JSON)
        return usage("name does not apply to json");
    return {};
}

KOVA_GENERATED kova_generate(KOVA_SESSION& session, const KOVA_RUN_RESULT& run, const KOVA_GENERATE_OPTIONS& options) {
    KOVA_GENERATED generated;
    generated.problem = kova_generate_options_problem(options);
    if (generated.problem) {
        generated.messages.push_back(kova_generate_problem("", {}, generated.problem.text));
        return generated;
    }
    std::vector<KOVA_GEN_PARAMETER> exported;
    generated.problem = kova_generate_exports(session, options, &exported);
    if (generated.problem) {
        generated.messages.push_back(kova_generate_problem("", {}, generated.problem.text));
        return generated;
    }
    KOVA_GEN_CONFIG config = kova_generate_configuration(session);
    config.exported = std::move(exported);
    generated.messages = config.messages;
    generated.members = kova_configuration_members(config, options.language);
    if (!run.valid && !options.force) {
        generated.problem = refused("the configuration is not valid");
        generated.messages.push_back(
            kova_make_message(KOVA_SEVERITY_NOTE, KOVA_DIAG_OTHER, generated.problem.text + options.force_hint));
        return generated;
    }
    // A constant wider than its port would be written cut to the port's
    // width, a value the user did not give.
    if (!options.force && refuse_wide_constants(session, options, generated)) return generated;
    KOVA_MESSAGES problems;
    generated.text = written(session, run, config, generated, options, problems);
    if (!problems.empty()) {
        generated.problem = refused("the configuration cannot be written in " +
                                    std::string(kova_generate_language_name(options.language)));
        generated.text.clear();
    }
    generated.messages.insert(generated.messages.end(), problems.begin(), problems.end());
    return generated;
}
