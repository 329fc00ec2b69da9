// "Did you mean": the known name nearest to a name that is not known, for
// settings, subcommands, options and the names inside rule texts.
#ifndef KOVA_SUGGEST_H
#define KOVA_SUGGEST_H

#include <string>
#include <vector>

// The edit distance of two names with ASCII letters folded: insertions,
// deletions, substitutions and swaps of two neighbours each count one.
std::size_t kova_name_distance(const std::string& a, const std::string& b);

// The candidate nearest to wanted, when it is near enough to be a likely
// misspelling (at most one edit per three characters, and at least one
// allowed); "" when none is. Ties go to the earlier candidate.
std::string kova_nearest_name(const std::string& wanted, const std::vector<std::string>& candidates);

// " (did you mean NAME?)" for the nearest candidate, or "".
std::string kova_did_you_mean(const std::string& wanted, const std::vector<std::string>& candidates);

// The name a message's " (did you mean NAME?)" suggests (the last one in
// text), for a front end that offers the replacement; "" when none.
std::string kova_suggested_name(const std::string& text);

#endif
