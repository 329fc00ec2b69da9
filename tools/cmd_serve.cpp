// kova serve: the local web configurator over one description. It opens
// the session and reads the starting settings as every subcommand does
// (errors exit 2), then hands the socket to serve/server.h until SIGINT or
// SIGTERM (exit 0). The URL line on standard output is the one thing
// scripts read to find the server.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <iostream>
#include <memory>
#include <thread>

#include "serve/api.h"
#include "serve/server.h"
#include "session/settings_io.h"
#include "tools/subcommands.h"

extern char** environ;

namespace {

struct KOVA_SERVE_COMMAND {
    std::string settings_file;
    KOVA_SERVE_OPTIONS server;
    bool open_browser = false;
};

// Starts xdg-open on the URL in a child process whose output goes to
// standard error (standard output holds the URL line alone) and whose
// signals are not blocked; a thread reaps it. Says so when it cannot be
// started or fails.
void open_browser(const std::string& url) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    char program[] = "xdg-open";
    std::string target = url;
    char* arguments[] = {program, target.data(), nullptr};
    pid_t child = 0;
    const int error = posix_spawnp(&child, program, &actions, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        std::cerr << "kova serve: could not open a browser (xdg-open: " << std::strerror(error) << "); open " << url
                  << " yourself\n";
        return;
    }
    std::thread([child, url] {
        int status = 0;
        if (waitpid(child, &status, 0) == child && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
            std::cerr << "kova serve: could not open a browser (xdg-open failed); open " << url << " yourself\n";
    }).detach();
}

// The session and the starting settings, or a failure reported (exit 2).
std::unique_ptr<KOVA_SERVE_API> open_api(KOVA_TOOL_STATE& state, const KOVA_SERVE_COMMAND& command) {
    KOVA_MESSAGES messages;
    const std::unique_ptr<KOVA_SESSION> session = open_session(state, messages);
    if (!session) return nullptr;
    std::vector<KOVA_SETTING> settings;
    if (!command.settings_file.empty()) {
        // Applied to a copy only to find their errors: requests bring
        // their own settings to the unchanged session.
        KOVA_SESSION check(*session);
        if (kova_read_settings_file(command.settings_file, settings, messages) || check.apply(settings, messages)) {
            report_problem(state, kova_refused(std::move(messages)));
            return nullptr;
        }
    }
    return std::make_unique<KOVA_SERVE_API>(*session, std::move(settings));
}

void serve(KOVA_TOOL_STATE& state, const KOVA_SERVE_COMMAND& command) {
    const std::unique_ptr<KOVA_SERVE_API> api = open_api(state, command);
    if (!api) return;
    if (!kova_serve_is_loopback(command.server.host))
        std::cerr << "kova serve: warning: listening on " << command.server.host
                  << ", not only on this machine: anyone who can reach this address may use the configurator\n";
    std::string problem;
    const KOVA_SERVE_END end = kova_serve_run(*api, command.server, [&](const std::string& url) {
        std::cout << "kova serve: " << url << std::endl;
        if (command.open_browser) open_browser(url);
    }, problem);
    if (end == KOVA_SERVE_END::CANNOT_BIND) report_failure(state, problem);
    if (end == KOVA_SERVE_END::FAILED) report_failure(state, "the server stopped listening");
}

}  // namespace

void add_serve_command(CLI::App& app, KOVA_TOOL_STATE& state) {
    auto* command = app.add_subcommand("serve", "Serve a web page to configure the building block in a browser "
                                                "on this machine, until Ctrl-C");
    auto options = std::make_shared<KOVA_SERVE_COMMAND>();
    add_load_options(*command, state, {});
    command->add_option("--settings", options->settings_file,
                        "Start the page from the settings of a file of NAME=VALUE lines");
    command->add_option("--host", options->server.host,
                        "Address to listen on; any other than this machine's loopback is warned about")
        ->capture_default_str();
    command->add_option("--port", options->server.port, "Port to listen on; 0 picks a free one")
        ->check(CLI::Range(0, 65535))
        ->capture_default_str();
    command->add_flag("--open", options->open_browser, "Open the page in the desktop's browser (xdg-open)");
    command->footer("Example: kova serve examples/ram.xml --settings examples/ram-dual.settings --port 0 --open\n"
                    "It prints 'kova serve: http://HOST:PORT/' once listening; SIGINT or SIGTERM stop it (exit 0).");
    command->callback([&state, options]() { serve(state, *options); });
}
