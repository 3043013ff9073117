// Shared by the survey program's fuzz targets: a property that must hold, and the input cut into
// fields. Checking code carries no coverage instrumentation: it guides nothing and would only slow
// the runs down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace uninstall_fuzz {

// Stops the run with the broken property's text, which libFuzzer reports with the input.
[[clang::no_sanitize("coverage")]] inline void Check(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// The input as fields separated by the byte 0x01; at least count fields, empty ones added.
[[clang::no_sanitize("coverage")]] inline std::vector<std::string> Fields(const uint8_t* data, size_t size,
                                                                          size_t count) {
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0x01)
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    }
    while (fields.size() < count)
        fields.emplace_back();
    return fields;
}

} // namespace uninstall_fuzz
