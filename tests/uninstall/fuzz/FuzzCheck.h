// Shared by the survey program's fuzz targets: a property that must hold, and the input cut into
// fields. Checking code carries no coverage instrumentation: it guides nothing and would only slow
// the runs down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    std::vector<std::string> fields;
    fields.reserve(count);
    const auto* text = reinterpret_cast<const char*>(data);
    for (const char* end = text + size;;) {
        const auto* separator =
            text == end ? nullptr : static_cast<const char*>(std::memchr(text, 0x01, size_t(end - text)));
        fields.emplace_back(text, separator ? separator : end);
        if (!separator)
            break;
        text = separator + 1;
    }
    while (fields.size() < count)
        fields.emplace_back();
    return fields;
}

} // namespace uninstall_fuzz
