// The screen model's rows, cursor, folds, search and undo stacks.
#include "menu/menu_model.h"

#include <algorithm>

#include "host/kova_name_index.h"

namespace {

// What identifies a row across new contents: "o:NAME" or "g:TITLE".
std::string object_key(const KOVA_MENU_OBJECT& object) { return "o:" + object.state.name; }
// A map's group by its map, since a map's label may be another group's title.
std::string group_key(const KOVA_OBJECT_GROUP& group) {
    return group.map.empty() ? "g:" + group.title : "m:" + group.map;
}

void unfold(std::vector<std::string>& folded, const KOVA_OBJECT_GROUP& group) {
    folded.erase(std::remove(folded.begin(), folded.end(), group_key(group)), folded.end());
}

bool has_conflict(const std::vector<KOVA_MENU_OBJECT>& objects, const KOVA_OBJECT_GROUP& group) {
    return std::any_of(group.members.begin(), group.members.end(),
                       [&](std::size_t i) { return !objects[i].conflict.empty(); });
}

}  // namespace

void KOVA_MENU_MODEL::set_contents(std::vector<KOVA_MENU_OBJECT> objects, std::vector<KOVA_OBJECT_GROUP> groups) {
    const std::string key = cursor_key();
    m_objects = std::move(objects);
    m_groups = std::move(groups);
    for (const KOVA_OBJECT_GROUP& group : m_groups) {
        if (!m_started && group.out_of_configuration) m_folded.push_back(group_key(group));
        if (has_conflict(m_objects, group)) unfold(m_folded, group);
    }
    m_started = true;
    build_rows();
    place_cursor(key);
}

bool KOVA_MENU_MODEL::folded(std::size_t group) const {
    return std::find(m_folded.begin(), m_folded.end(), group_key(m_groups[group])) != m_folded.end();
}

std::optional<std::size_t> KOVA_MENU_MODEL::current() const {
    if (m_cursor >= m_rows.size()) return std::nullopt;
    return m_rows[m_cursor].object;
}

void KOVA_MENU_MODEL::move(long delta) {
    if (m_rows.empty()) return;
    const long last = static_cast<long>(m_rows.size()) - 1;
    m_cursor = static_cast<std::size_t>(std::clamp(static_cast<long>(m_cursor) + delta, 0L, last));
}

void KOVA_MENU_MODEL::toggle_fold() {
    if (m_cursor >= m_rows.size()) return;
    const std::string key = group_key(m_groups[m_rows[m_cursor].group]);
    const auto at = std::find(m_folded.begin(), m_folded.end(), key);
    if (at == m_folded.end()) m_folded.push_back(key);
    else m_folded.erase(at);
    build_rows();
    place_cursor(key);
}

bool KOVA_MENU_MODEL::jump_to(const std::string& name) {
    for (const KOVA_OBJECT_GROUP& group : m_groups)
        for (std::size_t i : group.members) {
            if (!kova_equal_nocase(m_objects[i].state.name, name)) continue;
            unfold(m_folded, group);
            build_rows();
            place_cursor(object_key(m_objects[i]));
            return true;
        }
    return false;
}

bool KOVA_MENU_MODEL::search(const std::string& query, bool backward) {
    if (!query.empty()) m_search = query;
    // Every object in body order, folded or not, to walk from the cursor.
    std::vector<std::size_t> order;
    for (const KOVA_OBJECT_GROUP& group : m_groups)
        order.insert(order.end(), group.members.begin(), group.members.end());
    if (order.empty()) return false;
    const std::optional<std::size_t> here = current();
    std::size_t start = 0;
    if (here) start = static_cast<std::size_t>(std::find(order.begin(), order.end(), *here) - order.begin());
    else if (backward) start = 0;
    else start = order.size() - 1;  // on a header: the first object after wrapping is the first one
    for (std::size_t step = 1; step <= order.size(); ++step) {
        const std::size_t at = backward ? (start + order.size() - step % order.size()) % order.size()
                                        : (start + step) % order.size();
        if (kova_object_matches(m_objects[order[at]].state, m_search))
            return jump_to(m_objects[order[at]].state.name);
    }
    return false;
}

void KOVA_MENU_MODEL::build_rows() {
    m_rows.clear();
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        m_rows.push_back({g, std::nullopt});
        if (folded(g)) continue;
        for (std::size_t i : m_groups[g].members) m_rows.push_back({g, i});
    }
}

std::string KOVA_MENU_MODEL::cursor_key() const {
    if (m_cursor >= m_rows.size()) return "";
    const KOVA_MENU_ROW& row = m_rows[m_cursor];
    return row.object ? object_key(m_objects[*row.object]) : group_key(m_groups[row.group]);
}

void KOVA_MENU_MODEL::place_cursor(const std::string& key) {
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        const KOVA_MENU_ROW& row = m_rows[r];
        const std::string here = row.object ? object_key(m_objects[*row.object]) : group_key(m_groups[row.group]);
        if (here == key) {
            m_cursor = r;
            return;
        }
    }
    m_cursor = std::min(m_cursor, m_rows.empty() ? 0 : m_rows.size() - 1);
}

void KOVA_MENU_HISTORY::record(std::vector<KOVA_SETTING> before) {
    m_undo.push_back(std::move(before));
    m_redo.clear();
}

std::optional<std::vector<KOVA_SETTING>> KOVA_MENU_HISTORY::step(std::vector<std::vector<KOVA_SETTING>>& from,
                                                                  std::vector<std::vector<KOVA_SETTING>>& to,
                                                                  std::vector<KOVA_SETTING> now) {
    if (from.empty()) return std::nullopt;
    std::vector<KOVA_SETTING> settings = std::move(from.back());
    from.pop_back();
    to.push_back(std::move(now));
    return settings;
}

std::optional<std::vector<KOVA_SETTING>> KOVA_MENU_HISTORY::undo(std::vector<KOVA_SETTING> now) {
    return step(m_undo, m_redo, std::move(now));
}

std::optional<std::vector<KOVA_SETTING>> KOVA_MENU_HISTORY::redo(std::vector<KOVA_SETTING> now) {
    return step(m_redo, m_undo, std::move(now));
}
