// Snapshot of the filters of a graph, in enumeration order, taken at creation.
#pragma once

#include <dshow.h>
#include <wrl/client.h>

#include <vector>

namespace vireon {

class TFilterList {
public:
    explicit TFilterList(IFilterGraph* Graph);

    int Count() const { return static_cast<int>(FItems.size()); }
    IBaseFilter* GetFilter(int Index) const { return FItems.at(Index).Get(); }
    IFilterGraph* Graph() const { return FGraph.Get(); }
    int Add(IBaseFilter* Filter);
    // Removes the first occurrence; returns its former index, -1 when absent.
    int Remove(IBaseFilter* Filter);
    // Clears Info (releasing the graph reference it held), then fills it for a non-empty item.
    HRESULT GetFilterInfo(int Index, FILTER_INFO& Info) const;

private:
    Microsoft::WRL::ComPtr<IFilterGraph> FGraph;
    std::vector<Microsoft::WRL::ComPtr<IBaseFilter>> FItems;
};

} // namespace vireon
