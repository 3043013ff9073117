#include "engine/TFilterList.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace vireon {

TFilterList::TFilterList(IFilterGraph* Graph) : FGraph(Graph) {
    ComPtr<IEnumFilters> filters;
    if (!FGraph || FAILED(FGraph->EnumFilters(&filters)) || !filters)
        return;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        FItems.push_back(filter);
}

int TFilterList::Add(IBaseFilter* Filter) {
    FItems.emplace_back(Filter);
    return Count() - 1;
}

int TFilterList::Remove(IBaseFilter* Filter) {
    auto found = std::find_if(FItems.begin(), FItems.end(),
                              [Filter](const auto& item) { return item.Get() == Filter; });
    if (found == FItems.end())
        return -1;
    int index = static_cast<int>(found - FItems.begin());
    FItems.erase(found);
    return index;
}

HRESULT TFilterList::GetFilterInfo(int Index, FILTER_INFO& Info) const {
    if (Info.pGraph)
        Info.pGraph->Release();
    Info = FILTER_INFO{};
    IBaseFilter* filter = GetFilter(Index);
    return filter ? filter->QueryFilterInfo(&Info) : S_FALSE;
}

} // namespace vireon
