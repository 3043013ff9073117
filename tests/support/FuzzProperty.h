// Shared by the fuzz targets of the skin and the DVD side: a property that must hold. Checking code
// carries no coverage instrumentation: it guides nothing and would only slow the runs down.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

// Stops the run with the broken property's text, which libFuzzer reports with the input.
[[clang::no_sanitize("coverage")]] inline void Check(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

} // namespace fuzzsupport
