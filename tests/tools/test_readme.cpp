// The walk-throughs of the README, the authoring guide and the life of a
// value, run exactly as written: every "$ " line of a console block is a
// command run from the source folder, and the lines up to the next command
// or the end of the block are what it must print.
#include <gtest/gtest.h>

#include <fstream>

#include "support/test_support.h"

namespace {

struct SHOWN_COMMAND { std::string command, output; };

std::vector<SHOWN_COMMAND> console_commands(std::istream& readme) {
    std::vector<SHOWN_COMMAND> commands;
    bool in_console = false;
    std::string line;
    while (std::getline(readme, line)) {
        if (!in_console || line == "```")
            in_console = !in_console && line == "```console";
        else if (line.rfind("$ ", 0) == 0)
            commands.push_back({line.substr(2), ""});
        else if (!commands.empty())
            commands.back().output += line + "\n";
    }
    return commands;
}

// Runs a README command from the source folder with the tool of this
// build, whatever the build folder is named.
std::string run_in_source_folder(std::string command) {
    const std::string shown_tool = "build/tools/kova";
    if (command.rfind(shown_tool, 0) == 0) command = kova_tool() + command.substr(shown_tool.size());
    return run_shell("cd '" + std::string(KOVA_SOURCE_DIR) + "' && " + command + " 2>&1").out;
}

}  // namespace

TEST(Readme, WalkThroughPrintsWhatItShows) {
    // Each page, with the fewest commands it shows.
    const struct { const char* page; std::size_t commands; } pages[] = {
        {"README.md", 10}, {"docs/authoring.md", 7}, {"docs/lifecycle.md", 10}};
    for (const auto& page : pages) {
        std::ifstream text(std::string(KOVA_SOURCE_DIR) + "/" + page.page);
        ASSERT_TRUE(text) << page.page << " not found";
        const std::vector<SHOWN_COMMAND> commands = console_commands(text);
        EXPECT_GE(commands.size(), page.commands) << page.page;
        for (const SHOWN_COMMAND& shown : commands)
            EXPECT_EQ(run_in_source_folder(shown.command), shown.output) << page.page << ": " << shown.command;
    }
}
