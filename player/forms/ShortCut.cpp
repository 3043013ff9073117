#include "forms/ShortCut.h"

#include "forms/TComponent.h"

#include <array>
#include <cctype>
#include <string>

namespace vireon {
namespace {

struct KeyName {
    WORD Key;
    const char* Name;
};

constexpr std::array<KeyName, 19> kKeyNames{{
    {VK_BACK, "BkSp"},      {VK_TAB, "Tab"},        {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},    {VK_PRIOR, "PgUp"},     {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},      {VK_LEFT, "Left"},      {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},      {VK_INSERT, "Ins"},     {VK_DELETE, "Del"},   {VK_ADD, "Num +"},
    {VK_SUBTRACT, "Num -"}, {VK_MULTIPLY, "Num *"}, {VK_DIVIDE, "Num /"},
}};

struct ModifierName {
    TShortCut Flag;
    const char* Name;
};

constexpr std::array<ModifierName, 3> kModifiers{{{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}}};

std::string KeyToText(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) {
        std::string text = "F";
        text += std::to_string(key - VK_F1 + 1);
        return text;
    }
    for (const KeyName& name : kKeyNames)
        if (name.Key == key)
            return name.Name;
    return {};
}

WORD TextToKey(const std::string& text) {
    if (text.size() == 1) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return static_cast<WORD>(c);
    }
    for (WORD key = VK_F1; key <= VK_F24; ++key)
        if (SameText(text, KeyToText(key)))
            return key;
    for (const KeyName& name : kKeyNames)
        if (SameText(text, name.Name))
            return name.Key;
    if (SameText(text, "Return"))
        return VK_RETURN;
    if (SameText(text, "Escape"))
        return VK_ESCAPE;
    return 0;
}

} // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift) {
    if (Key == 0 || Key > 0xFF)
        return scNone;
    TShortCut result = Key;
    if (Shift & ssShift)
        result |= scShift;
    if (Shift & ssCtrl)
        result |= scCtrl;
    if (Shift & ssAlt)
        result |= scAlt;
    return result;
}

TShortCut TextToShortCut(const std::string& Text) {
    std::string rest = Text;
    TShortCut flags = 0;
    for (bool matched = true; matched;) {
        matched = false;
        for (const ModifierName& modifier : kModifiers) {
            std::string name = modifier.Name;
            if (rest.size() > name.size() && SameText(rest.substr(0, name.size()), name)) {
                flags |= modifier.Flag;
                rest.erase(0, name.size());
                matched = true;
            }
        }
    }
    WORD key = TextToKey(rest);
    return key ? static_cast<TShortCut>(key | flags) : scNone;
}

std::string ShortCutToText(TShortCut Value) {
    std::string key = KeyToText(Value & 0xFF);
    if (key.empty())
        return {};
    std::string text;
    for (const ModifierName& modifier : kModifiers)
        if (Value & modifier.Flag)
            text += modifier.Name;
    return text + key;
}

TShiftState KeyboardShiftState() {
    TShiftState state = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        state |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        state |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        state |= ssAlt;
    return state;
}

} // namespace vireon
