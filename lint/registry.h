// The lint checks by name: what --disable, --enable and lint_ignore may
// name, the grade each check gives its findings, a line on what it finds
// and whether it runs only on request.
#ifndef KOVA_LINT_REGISTRY_H
#define KOVA_LINT_REGISTRY_H

#include <string>
#include <vector>

#include "host/diagnostic.h"

struct KOVA_LINT_CHECK {
    const char* name;
    KOVA_SEVERITY severity;  // the grade of its findings before --werror
    const char* summary;
    bool on_request = false;  // runs only when asked for (--enable), for a house rule rather than a mistake
};

// Every check, in the order the documentation lists them.
const std::vector<KOVA_LINT_CHECK>& kova_lint_checks();
// The check of that name; null when there is none.
const KOVA_LINT_CHECK* kova_find_lint_check(const std::string& name);

#endif
