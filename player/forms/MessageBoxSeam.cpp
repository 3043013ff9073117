#include "forms/MessageBoxSeam.h"

namespace vireon {
namespace {

TMessageBoxFunction& Installed() {
    static TMessageBoxFunction function;
    return function;
}

} // namespace

int ShowMessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags) {
    if (Installed()) {
        TMessageBoxFunction function = Installed();
        return function(Owner, Text, Caption, Flags);
    }
    return MessageBoxA(Owner, Text.c_str(), Caption.c_str(), Flags);
}

TMessageBoxFunction SetMessageBoxFunction(TMessageBoxFunction Function) {
    TMessageBoxFunction previous = std::move(Installed());
    Installed() = std::move(Function);
    return previous;
}

} // namespace vireon
