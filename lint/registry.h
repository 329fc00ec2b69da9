// The lint checks by name: what --disable and lint_ignore may name, the
// grade each check gives its findings and a line on what it finds.
#ifndef KOVA_LINT_REGISTRY_H
#define KOVA_LINT_REGISTRY_H

#include <string>
#include <vector>

#include "host/diagnostic.h"

struct KOVA_LINT_CHECK {
    const char* name;
    KOVA_SEVERITY severity;  // the grade of its findings before --werror
    const char* summary;
};

// Every check, in the order the documentation lists them.
const std::vector<KOVA_LINT_CHECK>& kova_lint_checks();
// The check of that name; null when there is none.
const KOVA_LINT_CHECK* kova_find_lint_check(const std::string& name);

#endif
