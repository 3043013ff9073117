#include "engine/TPinList.h"

using Microsoft::WRL::ComPtr;

namespace vireon {

TPinList::TPinList(IBaseFilter* Filter) : FFilter(Filter) {
    Refresh();
}

void TPinList::Refresh() {
    FItems.clear();
    ComPtr<IEnumPins> pins;
    if (!FFilter || FAILED(FFilter->EnumPins(&pins)) || !pins)
        return;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        FItems.push_back(pin);
}

int TPinList::Add(IPin* Pin) {
    FItems.emplace_back(Pin);
    return Count() - 1;
}

} // namespace vireon
