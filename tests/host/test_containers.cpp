// Host containers: case folding, the name map, the object map and list.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "host/kova_info.h"
#include "host/kova_owned_map.h"
#include "host/kova_stl.h"

namespace {

// trim answers a view of its text, so a string made for the call, gone
// before the view is read, is refused; views, literals and names are not.
template <typename TEXT, typename = void>
struct TRIMS : std::false_type {};
template <typename TEXT>
struct TRIMS<TEXT, std::void_t<decltype(trim(std::declval<TEXT>()))>> : std::true_type {};
static_assert(TRIMS<const std::string&>::value && TRIMS<std::string_view>::value && TRIMS<const char*>::value);
static_assert(!TRIMS<std::string>::value && !TRIMS<const std::string&&>::value);
// The object walk of an owned map views the map's own entries, never a copy.
using OWNED_OBJECTS = KOVA_OWNED_MAP<KOVA_OBJ_INFO>::OBJECTS;
static_assert(std::is_constructible_v<OWNED_OBJECTS, const KOVA_OWNED_MAP<KOVA_OBJ_INFO>::ENTRIES&> &&
              !std::is_constructible_v<OWNED_OBJECTS, KOVA_OWNED_MAP<KOVA_OBJ_INFO>::ENTRIES>);

}  // namespace

// Only ASCII letters fold; names order by folded unsigned bytes, a prefix
// first, a null name before every other. order: the sign of a - b.
TEST(CaseFolding, HashEqualityOrderAndStringHelpers) {
    const struct { const char *a, *b; int order; } cases[] = {
        {"WiDtH", "width", 0}, {"ABC_1", "abc_1", 0}, {"\xC4", "\xE4", -1},  // bytes >= 128 are not folded
        {"ab", "abc", -1},     {"abc", "ABD", -1},    {"z", "\x80", -1},      // unsigned comparison
        {nullptr, "", -1}};
    for (const auto& c : cases) {
        const std::string label = std::string(c.a ? c.a : "(null)") + " vs " + c.b;
        EXPECT_EQ(LESS_C_STRING()(c.a, c.b), c.order < 0) << label;
        EXPECT_EQ(LESS_C_STRING()(c.b, c.a), c.order > 0) << label;
        if (!c.a) continue;
        EXPECT_EQ(kova_equal_nocase(c.a, c.b), c.order == 0) << label;
        EXPECT_EQ(HASH_C_STRING()(c.a) == HASH_C_STRING()(c.b), c.order == 0) << label;
    }
    EXPECT_EQ(to_lower_case("Max(A,B)") + "|" + trim_left(" \t\nabc  ") + "|" + trim_left("   "), "max(a,b)|abc  |");
}

TEST(ObjectMapAndList, WalkInOrderAndMapsReplaceInPlace) {
    KOVA_OBJ a, b, c;
    KOVA_OBJ_MAP map(20);
    EXPECT_EQ(map.add_entry("A", &a), nullptr);
    EXPECT_EQ(map.add_entry("B", &b), nullptr);
    EXPECT_EQ(map.add_entry("a", &c), &a);  // displaced pointer handed back
    EXPECT_EQ(map.find_entry("A"), &c);
    std::string key;
    map.reset_iterator();
    EXPECT_EQ(map.get_next_entry(key), &c);
    EXPECT_EQ(key, "A");
    EXPECT_EQ(map.get_next_entry(key), &b);
    EXPECT_EQ(map.get_next_entry(key), nullptr);

    KOVA_OBJ_MAP copy(map);  // same pointers, own cursor
    copy.reset_iterator();
    EXPECT_EQ(copy.get_next_entry(key), &c);
    EXPECT_EQ(map.get_next_entry(key), nullptr);

    KOVA_OBJ_LIST list;  // the list appends and walks likewise
    EXPECT_EQ(list.get_next_list_entry(), nullptr);
    list.append_entry(&a);
    list.reset_list_iterator();
    EXPECT_EQ(list.get_next_list_entry(), &a);
    list.append_entry(&b);  // appending does not reset the walk
    EXPECT_EQ(list.get_next_list_entry(), &b);
    EXPECT_EQ(list.get_next_list_entry(), nullptr);
}

// A remembered look-up must answer as find_entry does after every change
// that could make the remembered object stale, and never outlive its map.
TEST(ObjectMap, RememberedLookupsFollowEveryChangeAndNeverOutliveTheirMap) {
    KOVA_OBJ a, b, c;
    KOVA_OBJ_MAP map, other;
    KOVA_MAP_MEMO memo;
    EXPECT_EQ(map.find_remembered("K", memo), nullptr);
    map.add_entry("K", &a);
    EXPECT_EQ(map.find_remembered("K", memo), &a);  // a miss was not remembered
    map.add_entry("X", &c);                         // other keys change nothing
    EXPECT_EQ(map.find_remembered("K", memo), &a);
    map.add_entry("k", &b);
    EXPECT_EQ(map.find_remembered("K", memo), &b);
    map.clear();
    EXPECT_EQ(map.find_remembered("K", memo), nullptr);
    other.add_entry("K", &c);
    EXPECT_EQ(other.find_remembered("K", memo), &c);  // one memo, two maps
    map.add_entry("K", &a);
    EXPECT_EQ(map.find_remembered("K", memo), &a);
    map = other;
    EXPECT_EQ(map.find_remembered("K", memo), &c);

    KOVA_MAP_MEMO copied(memo);  // copies start empty: no stale answer travels
    KOVA_OBJ_MAP same_count;
    same_count.add_entry("K", &b);
    EXPECT_EQ(same_count.find_remembered("K", copied), &b);

    // A memo names the state of the map it was made from, not the map's
    // address: a map made later in the same place, or holding other entries
    // after a swap, does not answer from it.
    std::optional<KOVA_OBJ_MAP> slot;
    memo.clear();
    slot.emplace().add_entry("K", &a);
    const KOVA_OBJ_MAP* first = &*slot;
    EXPECT_EQ(slot->find_remembered("K", memo), &a);
    slot.reset();
    slot.emplace().add_entry("K", &b);
    ASSERT_EQ(&*slot, first);  // the new map sits where the old one was
    EXPECT_EQ(slot->find_remembered("K", memo), &b);

    KOVA_OBJ_MAP another;
    another.add_entry("K", &a);
    EXPECT_EQ(slot->find_remembered("K", memo), &b);
    slot->swap(another);  // the remembered answer goes with the entries
    EXPECT_EQ(slot->find_remembered("K", memo), &a);
    EXPECT_EQ(another.find_remembered("K", memo), &b);
}

// An object's name memo is forgotten when the name changes, by set_name,
// by assignment or in a copy.
TEST(ObjectMap, ObjectNameMemoEndsWithTheName) {
    KOVA_OBJ a, b;
    KOVA_OBJ_MAP map;
    map.add_entry("A", &a);
    map.add_entry("B", &b);
    KOVA_OBJ_INFO object("A");
    auto found = [&map](KOVA_OBJ_INFO& named) { return map.find_remembered(named.get_name(), named.name_memo()); };
    EXPECT_EQ(found(object), &a);
    object.set_name("B");
    EXPECT_EQ(found(object), &b);
    object = KOVA_OBJ_INFO("A");
    EXPECT_EQ(found(object), &a);
    KOVA_OBJ_INFO renamed_copy(object);
    renamed_copy.set_name("B");
    EXPECT_EQ(found(renamed_copy), &b);
}

// Enough keys to make the index grow several times; a second spelling of
// a key is refused by insert and changes only the value by set; after each
// removal every remaining key is found at its place and the removed ones are not.
TEST(NameMap, IndexFollowsGrowthEraseAndTruncate) {
    // Entries left by truncate; erase takes key 7.
    const std::pair<const char*, std::size_t> steps[] = {
        {"erase", 0}, {"truncate", 300}, {"truncate", 5}, {"truncate", 0}};
    KOVA_NAME_MAP map;
    std::vector<std::string> keys;
    for (int i = 0; i < 1000; ++i) {
        keys.push_back("Name_" + std::to_string(i));
        ASSERT_TRUE(map.insert(keys.back(), i == 4 ? "stale" : std::to_string(i)));
    }
    EXPECT_FALSE(map.insert("NAME_3", "other"));
    map.set("NAME_4", "4");  // keeps the first spelling, checked below
    for (const auto& [what, keep] : steps) {
        if (std::string(what) == "erase") {
            EXPECT_TRUE(map.erase("NAME_7"));
            EXPECT_FALSE(map.erase("name_7"));
            keys.erase(keys.begin() + 7);
        } else {
            map.truncate(keep);
            keys.resize(keep);
        }
        ASSERT_EQ(map.size(), keys.size()) << what << " " << keep;
        std::size_t position = 0;
        for (const auto& entry : map) EXPECT_EQ(entry.first, keys[position++]);
        for (const std::string& key : keys) EXPECT_EQ(*map.find(to_lower_case(key)), key.substr(5));
        EXPECT_FALSE(map.contains("name_7"));
        EXPECT_EQ(map.contains("name_999"), keys.size() == 999) << what;  // kept only by the erase
    }
    EXPECT_TRUE(map.insert("name_999", "back"));  // a removed key can come back
    EXPECT_EQ(*map.find("NAME_999"), "back");
}
