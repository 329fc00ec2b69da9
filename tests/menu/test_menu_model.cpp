// The screen model without a terminal (search order and wrapping, folds
// and the cursor across new contents, undo and redo, the columns below
// 80), and what the configurator takes from the session layer: the groups
// by wizard map, the differences from the defaults, and the controller's
// steps. What the tmux walk cannot reach, or reaches only by chance.
#include <gtest/gtest.h>

#include "menu/menu_controller.h"
#include "menu/menu_screen.h"
#include "session/minimal_settings.h"
#include "session/opened_session.h"

namespace {

KOVA_MENU_OBJECT object(const std::string& name, bool port = false, const std::string& label = "",
                        const std::string& conflict = "") {
    KOVA_MENU_OBJECT made;
    made.state.name = name;
    made.state.port = port;
    made.state.help.label = label;
    made.state.model_usage = KOVA_USAGE_USED;
    made.conflict = conflict;
    return made;
}

// Two groups, A (alpha, beta) and B (gamma, delta), B folded at the start
// as the group outside the configuration is.
KOVA_MENU_MODEL two_groups(const std::string& delta_conflict = "") {
    KOVA_MENU_MODEL model;
    model.set_contents({object("alpha"), object("beta", false, "Bus width"), object("gamma", true),
                        object("delta", true, "", delta_conflict)},
                       {{"A", "", false, {0, 1}}, {"B", "", true, {2, 3}}});
    return model;
}

std::string cursor_name(const KOVA_MENU_MODEL& model) {
    const auto at = model.current();
    return at ? model.objects()[*at].state.name : "header";
}

TEST(MenuModel, SearchWalksEveryObjectFromTheCursorAndWraps) {
    struct CASE {
        std::vector<std::string> moves;  // "/QUERY", "n", "N", "jNAME"
        std::string expected;            // the cursor's object after them, "none" when the last failed
    };
    const std::vector<CASE> cases = {
        {{"/a"}, "alpha"},                // from the first header
        {{"/a", "n"}, "beta"},            // next
        {{"/a", "n", "n"}, "gamma"},      // into the folded group
        {{"/a", "n", "n", "n"}, "delta"},
        {{"/a", "n", "n", "n", "n"}, "alpha"},  // wraps
        {{"jbeta", "/a", "N"}, "beta"},   // back from gamma
        {{"/delta", "jalpha", "N"}, "delta"},  // backward wraps too
        {{"/WIDTH"}, "beta"},             // the label, letter case ignored
        {{"/nothing"}, "none"},
    };
    for (const CASE& c : cases) {
        KOVA_MENU_MODEL model = two_groups();
        bool found = true;
        for (const std::string& move : c.moves) {
            if (move[0] == '/') found = model.search(move.substr(1));
            else if (move[0] == 'j') found = model.jump_to(move.substr(1));
            else found = model.search("", move == "N");
        }
        EXPECT_EQ(found ? cursor_name(model) : "none", c.expected) << c.moves.back();
    }
}

TEST(MenuModel, FoldsAndCursorFollowNewContents) {
    KOVA_MENU_MODEL model = two_groups();
    EXPECT_EQ(model.rows().size(), 4u);  // B starts folded
    model.move(2);
    EXPECT_EQ(cursor_name(model), "beta");
    model.toggle_fold();                 // folds A, the cursor on its header
    EXPECT_EQ(model.rows().size(), 2u);
    EXPECT_EQ(model.cursor(), 0u);
    model.move(100);
    EXPECT_EQ(model.cursor(), 1u);       // clamped to the last row
    // New contents keep A folded; a conflict in B unfolds it, the cursor stays on B's header.
    const KOVA_MENU_MODEL fresh = two_groups("conflict");
    model.set_contents(fresh.objects(), fresh.groups());
    EXPECT_TRUE(model.folded(0));
    EXPECT_FALSE(model.folded(1));
    EXPECT_EQ(model.rows().size(), 4u);
    EXPECT_EQ(model.cursor(), 1u);
    EXPECT_TRUE(model.jump_to("ALPHA"));  // unfolds A
    EXPECT_EQ(model.rows().size(), 6u);
    EXPECT_EQ(cursor_name(model), "alpha");
}

TEST(MenuModel, UndoAndRedoHandBackWholeSettingsLists) {
    KOVA_MENU_HISTORY history;
    const std::vector<KOVA_SETTING> a = {{"MODE", "SINGLE"}}, b = {{"MODE", "DUAL"}}, c = {{"MODE", "X"}};
    EXPECT_FALSE(history.undo(a));
    history.record(a);                    // a -> b
    EXPECT_EQ(history.undo(b)->front().value, "SINGLE");
    EXPECT_EQ(history.redo(a)->front().value, "DUAL");
    EXPECT_FALSE(history.redo(b));
    EXPECT_EQ(history.undo(b)->front().value, "SINGLE");
    history.record(a);                    // a change after an undo drops the redo
    EXPECT_FALSE(history.redo(c));
}

TEST(MenuScreen, ValueColumnShrinksBeforeTheConflictText) {
    struct CASE {
        int width;
        KOVA_MENU_COLUMNS expected;
    };
    for (const CASE& c : std::vector<CASE>{{120, {12, 20, 81}}, {80, {12, 20, 41}}, {70, {12, 10, 41}},
                                           {60, {12, 6, 35}}, {20, {12, 6, 0}}}) {
        const KOVA_MENU_COLUMNS columns = kova_menu_columns(c.width, 12);
        EXPECT_EQ(columns.name, c.expected.name) << c.width;
        EXPECT_EQ(columns.value, c.expected.value) << c.width;
        EXPECT_EQ(columns.conflict, c.expected.conflict) << c.width;
    }
}

TEST(MenuSession, GroupsByWizardMapThenTheRestThenOutOfConfiguration) {
    OPENED_SESSION counter = open_and_run(example("counter.xml"));
    ASSERT_TRUE(counter.session);
    KOVA_MESSAGES ignored;
    const std::vector<KOVA_OBJECT_STATE> states = kova_object_states(counter.session->validator());
    const std::vector<KOVA_OBJECT_GROUP> groups =
        kova_object_groups(states, kova_evaluate_wizard_maps(*counter.session, ignored));
    std::vector<std::string> shown;
    for (const KOVA_OBJECT_GROUP& group : groups) {
        std::string line = group.title + ":";
        for (std::size_t i : group.members) line += " " + states[i].name;
        shown.push_back(line);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Generics: WIDTH DIRECTION HAS_LOAD CLOCK_PERIOD",
                                               "Ports: clk rst en count tc",
                                               "Not in this configuration: up_dn load din"}));
}

TEST(MenuSession, ControllerStepsUndoAsOneAndTellTheEngineReading) {
    KOVA_MENU_START start;
    start.load.description = example("ram.xml");
    KOVA_MESSAGES problems;
    auto menu = KOVA_MENU_CONTROLLER::open(start, problems);
    ASSERT_TRUE(menu);
    ASSERT_TRUE(menu->model().jump_to("MODE"));
    EXPECT_TRUE(menu->toggle(*menu->model().current()));  // the name outlives the objects the run replaces
    EXPECT_EQ(menu->status, "MODE = DUAL");
    EXPECT_EQ(menu->error_count(), 3u);
    EXPECT_TRUE(menu->unsaved());
    const KOVA_FIX_RESULT proposal = menu->propose_fix();
    EXPECT_EQ(menu->error_count(), 3u);  // proposing changes nothing
    menu->apply_fix(proposal.changes);
    EXPECT_EQ(menu->error_count(), 0u);
    ASSERT_TRUE(menu->undo());
    EXPECT_EQ(menu->error_count(), 3u);  // the fix was one step
    ASSERT_TRUE(menu->redo());
    const std::vector<std::string> expected = {"MODE: SINGLE -> DUAL", "clkb: UNUSED -> USED",
                                               "addrb: UNUSED -> USED", "doutb: UNUSED -> USED"};
    EXPECT_EQ(menu->differences(), expected);
    menu->set("WIDTH", "12abc");          // kept as typed; the engine's reading told
    EXPECT_NE(menu->status.find("reads as 12"), std::string::npos) << menu->status;
}

TEST(MenuSession, BrokenSettingsFileOpensWithItsProblemsListedOnce) {
    KOVA_MENU_START start;
    start.load.description = example("ram.xml");
    start.settings_file = write_temp_file("broken.settings", "WIDTH=16\nFOO=1\nfoo=2\nno equals sign\nBAR=3\n");
    start.settings = {{"MODE", "DUAL", "", 0}};
    KOVA_MESSAGES problems;
    auto menu = KOVA_MENU_CONTROLLER::open(start, problems);
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->notice().size(), 2u);
    EXPECT_EQ(menu->notice()[0], "unknown settings, left out: FOO, BAR");
    EXPECT_NE(menu->notice()[1].find("broken.settings:4: "), std::string::npos) << menu->notice()[1];
    EXPECT_EQ(menu->differences().front(), "WIDTH: 8 -> 16");  // the good lines applied, then the command line's
    EXPECT_FALSE(menu->unsaved());
    start.settings_file = temp_folder() + "/missing.settings";
    EXPECT_FALSE(KOVA_MENU_CONTROLLER::open(start, problems));
}

}  // namespace
