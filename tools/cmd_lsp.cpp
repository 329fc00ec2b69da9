// kova lsp: the language server for descriptions and settings files, on
// standard input and output (lsp/server.h). Exit status 0 after the
// client's shutdown and exit, 1 when the input ends or exit comes first.
#include "lsp/server.h"
#include "tools/subcommands.h"

void add_lsp_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("lsp", "Serve editors over the Language Server Protocol on standard input "
                                              "and output: diagnostics, hover, definitions and more");
    auto options = std::make_shared<KOVA_LSP_OPTIONS>();
    command->add_option("--lib", options->library_dir, "Folder searched first for included files")
        ->check(CLI::ExistingDirectory);
    command->add_option("--description", options->description,
                        "The description settings files belong to (initializationOptions.description wins)");
    command->add_option("--settings", options->settings,
                        "A settings file whose values hover shows (initializationOptions.settings wins)");
    command->footer("Editor set-up and what each answer shows: docs/editors.md\n"
                    "Example (Neovim): vim.lsp.start_client({name = 'kova', cmd = {'kova', 'lsp'}})");
    command->callback([&state, options]() { state.exit_code = kova_lsp_serve_standard_streams(*options); });
}
