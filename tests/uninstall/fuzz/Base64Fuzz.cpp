// libFuzzer target over Base64: the encoding has the standard length and alphabet, and decoding it
// gives the input back.
#include "FuzzCheck.h"

#include "uninstall/HttpUrl.h"

#include <cstring>

using uninstall::Base64Encode;
using uninstall_fuzz::Check;

namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

[[clang::no_sanitize("coverage")]] std::string Decode(const std::string& text) {
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        if (c == '=')
            break;
        const char* at = std::strchr(Alphabet, c);
        Check(c != 0 && at != nullptr, "only the alphabet before the padding");
        bits = (bits << 6) | static_cast<uint32_t>(at - Alphabet);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string encoded = Base64Encode(input);
    Check(encoded.size() == (size + 2) / 3 * 4, "four characters for every three bytes or part");
    const size_t padding = encoded.size() - std::min(encoded.size(), encoded.find('='));
    Check(padding == (3 - size % 3) % 3, "padding fills the last group");
    Check(Decode(encoded) == input, "decoding gives the input back");
    return 0;
}
