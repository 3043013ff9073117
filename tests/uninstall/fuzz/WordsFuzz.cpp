// libFuzzer target over the survey's word and command-line helpers, each held against a plain model
// or a promise it keeps for any bytes.
#include "FuzzCheck.h"

#include "uninstall/UStr.h"

#include <climits>

using namespace uninstall;
using uninstall_fuzz::Check;

namespace {

[[clang::no_sanitize("coverage")]] std::vector<std::string> Words(const std::string& text, char delimiter) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text + delimiter) {
        if (c != delimiter) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

[[clang::no_sanitize("coverage")]] bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

void CheckWords(const std::string& text, const std::string& extra) {
    const char delimiter = extra.empty() ? '/' : extra[0];
    const std::vector<std::string> words = Words(text, delimiter);
    const int n = extra.size() > 1 ? static_cast<int8_t>(extra[1]) : 1;
    const std::string word = ExtractWord(n, text, delimiter);
    Check(n >= 1 && static_cast<size_t>(n) <= words.size() ? word == words[n - 1] : word.empty(),
          "ExtractWord is the n-th non-empty word");
}

void CheckCaseTrimNumbers(const std::string& text) {
    const std::string upper = UpperCase(text);
    Check(upper.size() == text.size(), "UpperCase keeps the length");
    for (size_t i = 0; i < text.size(); ++i)
        Check(upper[i] == (text[i] >= 'a' && text[i] <= 'z' ? text[i] - 32 : text[i]), "only a to z change");
    const std::string trimmed = TrimText(text);
    Check(trimmed.empty() || (!IsBlank(trimmed.front()) && !IsBlank(trimmed.back())), "trimmed ends");
    Check(text.find(trimmed) != std::string::npos, "trimming only cuts the ends");
    const int number = LeadingNumber(text);
    Check(number >= 0 && number <= INT_MAX, "a number never negative");
    Check(number == 0 || (text[0] >= '0' && text[0] <= '9'), "a number only from leading digits");
}

void CheckReplace(const std::string& text, const std::string& extra) {
    Check(ReplaceAll(text, extra, extra) == text, "replacing a text by itself changes nothing");
    if (extra.size() < 2)
        return;
    std::string model = text;
    for (char& c : model)
        if (c == extra[0])
            c = extra[1];
    Check(ReplaceAll(text, extra.substr(0, 1), extra.substr(1, 1)) == model, "one byte for another");
}

void CheckCommandLine(const std::string& text) {
    std::string previous;
    for (int index = 0; index < 4; ++index) {
        const std::string argument = ParamStr(text, index);
        Check(argument.find('"') == std::string::npos, "quotes are removed");
        Check(argument.size() <= text.size(), "an argument is no longer than the line");
    }
    Check(ParamStr(text, static_cast<int>(text.size()) + 1).empty(), "past the last argument: empty");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> fields = uninstall_fuzz::Fields(data, size, 2);
    CheckWords(fields[0], fields[1]);
    CheckCaseTrimNumbers(fields[0]);
    CheckReplace(fields[0], fields[1]);
    CheckCommandLine(fields[0]);
    return 0;
}
