#include "fakes/FakeFilter.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace fakes {

FakePin::FakePin(FakeFilter* filter, std::wstring id, PIN_DIRECTION direction)
    : Fake("pin:" + Narrow(id.c_str())), filter_(filter), id_(std::move(id)), direction_(direction) {}

void FakePin::Link(FakePin* output, FakePin* input) {
    output->peer_ = input;
    input->peer_ = output;
}

void FakePin::Detach() {
    filter_ = nullptr;
    if (auto* peer = dynamic_cast<FakePin*>(peer_.Get()))
        peer->peer_.Reset();
    peer_.Reset();
}

STDMETHODIMP FakePin::Disconnect() {
    if (FAILED(disconnectResult))
        return Record("Disconnect", {}, disconnectResult);
    HRESULT result = peer_ ? S_OK : S_FALSE;
    peer_.Reset();
    return Record("Disconnect", {}, result);
}

STDMETHODIMP FakePin::ConnectedTo(IPin** pin) {
    if (!pin)
        return E_POINTER;
    *pin = nullptr;
    if (!peer_)
        return VFW_E_NOT_CONNECTED;
    return peer_.CopyTo(pin);
}

STDMETHODIMP FakePin::QueryPinInfo(PIN_INFO* info) {
    if (!info)
        return E_POINTER;
    info->pFilter = filter_;
    if (filter_)
        filter_->AddRef();
    info->dir = direction_;
    lstrcpynW(info->achName, id_.c_str(), MAX_PIN_NAME);
    return S_OK;
}

STDMETHODIMP FakePin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction)
        return E_POINTER;
    *direction = direction_;
    return S_OK;
}

FakeFilter::FakeFilter(const std::wstring& name, int inputs, int outputs)
    : Fake("filter:" + Narrow(name.c_str())), name_(name) {
    for (int i = 0; i < inputs; ++i)
        AddPin(PINDIR_INPUT);
    for (int i = 0; i < outputs; ++i)
        AddPin(PINDIR_OUTPUT);
}

FakeFilter::~FakeFilter() {
    for (auto& pin : pins_)
        pin->Detach();
}

FakePin* FakeFilter::AddPin(PIN_DIRECTION direction, std::wstring id) {
    if (id.empty())
        id = name_ + (direction == PINDIR_INPUT ? L" In " : L" Out ") + std::to_wstring(pins_.size());
    pins_.push_back(MakeFake<FakePin>(this, id, direction));
    return pins_.back().Get();
}

void FakeFilter::RemovePin(int index) {
    pins_[index]->Detach();
    pins_.erase(pins_.begin() + index);
}

STDMETHODIMP FakeFilter::GetClassID(CLSID* id) {
    if (!id)
        return E_POINTER;
    *id = classId;
    return S_OK;
}

STDMETHODIMP FakeFilter::GetState(DWORD, FILTER_STATE* state) {
    if (!state)
        return E_POINTER;
    *state = state_;
    return *state == State_Paused && cueing ? VFW_S_STATE_INTERMEDIATE : S_OK;
}

HRESULT FakeFilter::Enter(FILTER_STATE state, const char* method) {
    state_ = state;
    return Record(method, {}, state == State_Paused && cueing ? S_FALSE : S_OK);
}

STDMETHODIMP FakeFilter::GetSyncSource(IReferenceClock** clock) {
    if (!clock)
        return E_POINTER;
    *clock = nullptr;
    return S_OK;
}

STDMETHODIMP FakeFilter::EnumPins(IEnumPins** pins) {
    if (!pins)
        return E_POINTER;
    std::vector<ComPtr<IPin>> items(pins_.begin(), pins_.end());
    *pins = MakeFake<FakeEnumPins>(std::move(items)).Detach();
    return S_OK;
}

STDMETHODIMP FakeFilter::QueryFilterInfo(FILTER_INFO* info) {
    if (!info)
        return E_POINTER;
    lstrcpynW(info->achName, name_.c_str(), MAX_FILTER_NAME);
    info->pGraph = graph_;
    if (graph_)
        graph_->AddRef();
    return S_OK;
}

STDMETHODIMP FakeFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    graph_ = graph;
    graphName_ = name ? name : L"";
    return S_OK;
}

} // namespace fakes
