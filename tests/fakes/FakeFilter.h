// Fake filters and pins: pins can be connected to each other, every disconnection is counted.
#pragma once

#include "fakes/FakeObject.h"

#include <dshow.h>

#include <atomic>

namespace fakes {

class FakeFilter;

class FakePin : public Fake<IPin> {
public:
    FakePin(FakeFilter* filter, std::wstring id, PIN_DIRECTION direction);

    // Connects both pins to each other (no media type negotiation).
    static void Link(FakePin* output, FakePin* input);
    IPin* Peer() const { return peer_.Get(); }
    // Drops the filter and the connection, from both ends.
    void Detach();
    HRESULT disconnectResult = S_OK;

    STDMETHODIMP Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes**) override { return E_NOTIMPL; }
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP BeginFlush() override { return S_OK; }
    STDMETHODIMP EndFlush() override { return S_OK; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

private:
    FakeFilter* filter_; // the filter owns its pins
    std::wstring id_;
    PIN_DIRECTION direction_;
    Microsoft::WRL::ComPtr<IPin> peer_;
};

class FakeFilter : public Fake<vireon::ComChain<IBaseFilter, IMediaFilter, IPersist>> {
public:
    // A filter named for the journal ("filter:<name>") with the given numbers of pins.
    explicit FakeFilter(const std::wstring& name, int inputs = 0, int outputs = 0);
    ~FakeFilter() override;

    // A pin named after the filter, its direction and index, unless given an id of its own.
    FakePin* AddPin(PIN_DIRECTION direction, std::wstring id = {});
    FakePin* GetPin(int index) const { return pins_[index].Get(); }
    int PinCount() const { return static_cast<int>(pins_.size()); }
    void RemovePin(int index);
    IFilterGraph* Graph() const { return graph_; }
    // What GetClassID answers: a renderer, mixer or decoder class for the code that looks for one.
    CLSID classId = GUID_NULL;
    const std::wstring& GraphName() const { return graphName_; }
    // Pause answers S_FALSE and GetState, while paused, VFW_S_STATE_INTERMEDIATE, as a renderer
    // waiting for its first sample does. Read by the graph's own threads too.
    std::atomic<bool> cueing{false};

    STDMETHODIMP GetClassID(CLSID* id) override;
    STDMETHODIMP Stop() override { return Enter(State_Stopped, "Stop"); }
    STDMETHODIMP Pause() override { return Enter(State_Paused, "Pause"); }
    STDMETHODIMP Run(REFERENCE_TIME) override { return Enter(State_Running, "Run"); }
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock*) override { return S_OK; }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR, IPin**) override { return VFW_E_NOT_FOUND; }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

private:
    HRESULT Enter(FILTER_STATE state, const char* method);

    std::wstring name_;
    std::atomic<FILTER_STATE> state_{State_Stopped};
    std::vector<Microsoft::WRL::ComPtr<FakePin>> pins_;
    IFilterGraph* graph_ = nullptr; // not held, as real filters do, to avoid a cycle
    std::wstring graphName_;
};

// Enumerator over a snapshot of interface pointers (IEnumPins, IEnumFilters).
template <typename Enum, typename Item> class FakeEnum : public Fake<Enum> {
public:
    explicit FakeEnum(std::vector<Microsoft::WRL::ComPtr<Item>> items)
        : Fake<Enum>("enum"), items_(std::move(items)) {}

    STDMETHODIMP Next(ULONG count, Item** out, ULONG* fetched) override {
        ULONG done = 0;
        for (; done < count && next_ < items_.size(); ++done, ++next_)
            items_[next_].CopyTo(&out[done]);
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        next_ = std::min<size_t>(items_.size(), next_ + count);
        return next_ < items_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        next_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Enum** clone) override {
        auto copy = MakeFake<FakeEnum>(items_);
        copy->next_ = next_;
        *clone = copy.Detach();
        return S_OK;
    }

private:
    std::vector<Microsoft::WRL::ComPtr<Item>> items_;
    size_t next_ = 0;
};

using FakeEnumPins = FakeEnum<IEnumPins, IPin>;
using FakeEnumFilters = FakeEnum<IEnumFilters, IBaseFilter>;

} // namespace fakes
