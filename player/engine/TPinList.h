// The pins of one filter in enumeration order; Refresh takes a new snapshot.
#pragma once

#include <dshow.h>
#include <wrl/client.h>

#include <vector>

namespace vireon {

class TPinList {
public:
    explicit TPinList(IBaseFilter* Filter);

    void Refresh();
    int Count() const { return static_cast<int>(FItems.size()); }
    IPin* GetPin(int Index) const { return FItems.at(Index).Get(); }
    IBaseFilter* Filter() const { return FFilter.Get(); }
    int Add(IPin* Pin);

private:
    Microsoft::WRL::ComPtr<IBaseFilter> FFilter;
    std::vector<Microsoft::WRL::ComPtr<IPin>> FItems;
};

} // namespace vireon
