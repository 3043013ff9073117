// A pull source filter over a TVobRange: one output pin offering an MPEG-2 program stream through
// IAsyncReader, for the platform's splitter to pull from like from a file.
#pragma once

#include "common/ComObject.h"
#include "dvdnav/VobRange.h"

#include <dshow.h>
#include <wrl/client.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>

namespace dvdnav {

class TVobSource;

class TVobReaderPin final : public IPin, public IAsyncReader {
public:
    explicit TVobReaderPin(TVobSource& Filter) : Filter_(Filter) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPin
    HRESULT STDMETHODCALLTYPE Connect(IPin* Receiver, const AM_MEDIA_TYPE* Type) override;
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* Connector, const AM_MEDIA_TYPE* Type) override;
    HRESULT STDMETHODCALLTYPE Disconnect() override;
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** Pin) override;
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* Type) override;
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* Info) override;
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* Direction) override;
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* Id) override;
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* Type) override;
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** Enum) override;
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin** Pins, ULONG* Count) override;
    HRESULT STDMETHODCALLTYPE EndOfStream() override;
    HRESULT STDMETHODCALLTYPE BeginFlush() override;
    HRESULT STDMETHODCALLTYPE EndFlush() override;
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME Start, REFERENCE_TIME Stop, double Rate) override;

    // IAsyncReader (IAsyncReader::BeginFlush/EndFlush share the IPin ones: both stop waiting reads)
    HRESULT STDMETHODCALLTYPE RequestAllocator(IMemAllocator* Preferred, ALLOCATOR_PROPERTIES* Properties,
                                               IMemAllocator** Actual) override;
    HRESULT STDMETHODCALLTYPE Request(IMediaSample* Sample, DWORD_PTR User) override;
    HRESULT STDMETHODCALLTYPE WaitForNext(DWORD Timeout, IMediaSample** Sample, DWORD_PTR* User) override;
    HRESULT STDMETHODCALLTYPE SyncReadAligned(IMediaSample* Sample) override;
    HRESULT STDMETHODCALLTYPE SyncRead(LONGLONG Position, LONG Length, BYTE* Buffer) override;
    HRESULT STDMETHODCALLTYPE Length(LONGLONG* Total, LONGLONG* Available) override;

private:
    struct TDone {
        IMediaSample* Sample;
        DWORD_PTR User;
    };

    HRESULT Fill(IMediaSample* Sample);

    TVobSource& Filter_;
    Microsoft::WRL::ComPtr<IPin> Peer_;
    std::mutex Lock_;
    std::condition_variable Ready_;
    std::deque<TDone> Done_;
    bool Flushing_ = false;
};

class TVobSource final : public vireon::TComObject<vireon::ComChain<IBaseFilter, IMediaFilter, IPersist>> {
public:
    explicit TVobSource(std::unique_ptr<TVobRange> Range);

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* Class) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME Start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD Timeout, FILTER_STATE* State) override;
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* Clock) override;
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** Clock) override;
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** Enum) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR Id, IPin** Pin) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* Info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* Graph, LPCWSTR Name) override;
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* Info) override;

    TVobRange& Range() { return *Range_; }
    IPin* OutputPin() { return &Pin_; }

private:
    std::unique_ptr<TVobRange> Range_;
    TVobReaderPin Pin_;
    FILTER_STATE State_ = State_Stopped;
    Microsoft::WRL::ComPtr<IReferenceClock> Clock_;
    IFilterGraph* Graph_ = nullptr; // not held: the graph holds us
    std::wstring Name_;
};

// The media type the pin offers: an MPEG-2 program stream.
AM_MEDIA_TYPE VobStreamType();

} // namespace dvdnav
