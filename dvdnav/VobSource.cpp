#include "dvdnav/VobSource.h"

#include <cstring>

namespace dvdnav {

using Microsoft::WRL::ComPtr;

namespace {

// {E06D8022-DB46-11CF-B4D1-00805F6CBBEA}
constexpr GUID SubtypeMpeg2Program = {
    0xe06d8022, 0xdb46, 0x11cf, {0xb4, 0xd1, 0x00, 0x80, 0x5f, 0x6c, 0xbb, 0xea}};
constexpr REFERENCE_TIME BytesToUnits = 10000000; // sample times of a pull pin count bytes in these units

LPWSTR CoCopy(const wchar_t* Text) {
    size_t Size = (wcslen(Text) + 1) * sizeof(wchar_t);
    auto* Copy = static_cast<LPWSTR>(CoTaskMemAlloc(Size));
    if (Copy)
        std::memcpy(Copy, Text, Size);
    return Copy;
}

// Enumerator over one item: the filter's single pin, or the pin's single media type.
template <typename Interface, typename Item> class TSingleEnum final : public vireon::TComObject<Interface> {
public:
    using TMake = Item* (*)(void* Context);
    TSingleEnum(TMake Make, void* Context, IUnknown* Owner, ULONG Position = 0)
        : Make_(Make), Context_(Context), Owner_(Owner), Position_(Position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG Count, Item** Items, ULONG* Fetched) override {
        ULONG Given = 0;
        if (Count > 0 && Position_ == 0) {
            Items[0] = Make_(Context_);
            Position_ = 1;
            Given = 1;
        }
        if (Fetched)
            *Fetched = Given;
        return Given == Count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG Count) override {
        Position_ = std::min<ULONG>(1, Position_ + Count);
        return Position_ == 1 && Count > 1 ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        Position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Interface** Enum) override {
        *Enum = new TSingleEnum(Make_, Context_, Owner_.Get(), Position_);
        return S_OK;
    }

private:
    TMake Make_;
    void* Context_;
    ComPtr<IUnknown> Owner_; // keeps the filter alive while enumerating
    ULONG Position_;
};

IPin* MakePin(void* Context) {
    IPin* Pin = static_cast<TVobSource*>(Context)->OutputPin();
    Pin->AddRef();
    return Pin;
}

AM_MEDIA_TYPE* MakeType(void*) {
    auto* Type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (Type)
        *Type = VobStreamType();
    return Type;
}

} // namespace

AM_MEDIA_TYPE VobStreamType() {
    AM_MEDIA_TYPE Type{};
    Type.majortype = MEDIATYPE_Stream;
    Type.subtype = SubtypeMpeg2Program;
    Type.bFixedSizeSamples = TRUE;
    Type.lSampleSize = 1;
    Type.formattype = GUID_NULL;
    return Type;
}

// ---- pin

HRESULT TVobReaderPin::QueryInterface(REFIID Iid, void** Object) {
    return vireon::QueryInterfaceTable<IPin, IAsyncReader>(this, Iid, Object);
}

ULONG TVobReaderPin::AddRef() {
    return Filter_.AddRef();
}

ULONG TVobReaderPin::Release() {
    return Filter_.Release();
}

HRESULT TVobReaderPin::Connect(IPin* Receiver, const AM_MEDIA_TYPE* Type) {
    if (!Receiver)
        return E_POINTER;
    if (Peer_)
        return VFW_E_ALREADY_CONNECTED;
    if (Type && Type->majortype != GUID_NULL && Type->majortype != MEDIATYPE_Stream)
        return VFW_E_TYPE_NOT_ACCEPTED;
    AM_MEDIA_TYPE Offered = VobStreamType();
    HRESULT Result = Receiver->ReceiveConnection(this, &Offered);
    if (FAILED(Result))
        return Result;
    Peer_ = Receiver;
    return S_OK;
}

HRESULT TVobReaderPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) {
    return E_UNEXPECTED; // an output pin
}

HRESULT TVobReaderPin::Disconnect() {
    if (!Peer_)
        return S_FALSE;
    Peer_.Reset();
    return S_OK;
}

HRESULT TVobReaderPin::ConnectedTo(IPin** Pin) {
    if (!Pin)
        return E_POINTER;
    *Pin = nullptr;
    if (!Peer_)
        return VFW_E_NOT_CONNECTED;
    return Peer_.CopyTo(Pin);
}

HRESULT TVobReaderPin::ConnectionMediaType(AM_MEDIA_TYPE* Type) {
    if (!Type)
        return E_POINTER;
    *Type = {};
    if (!Peer_)
        return VFW_E_NOT_CONNECTED;
    *Type = VobStreamType();
    return S_OK;
}

HRESULT TVobReaderPin::QueryPinInfo(PIN_INFO* Info) {
    if (!Info)
        return E_POINTER;
    Info->pFilter = &Filter_;
    Filter_.AddRef();
    Info->dir = PINDIR_OUTPUT;
    std::memcpy(Info->achName, L"Output", sizeof L"Output");
    return S_OK;
}

HRESULT TVobReaderPin::QueryDirection(PIN_DIRECTION* Direction) {
    if (!Direction)
        return E_POINTER;
    *Direction = PINDIR_OUTPUT;
    return S_OK;
}

HRESULT TVobReaderPin::QueryId(LPWSTR* Id) {
    if (!Id)
        return E_POINTER;
    *Id = CoCopy(L"Output");
    return *Id ? S_OK : E_OUTOFMEMORY;
}

HRESULT TVobReaderPin::QueryAccept(const AM_MEDIA_TYPE* Type) {
    return Type && Type->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

HRESULT TVobReaderPin::EnumMediaTypes(IEnumMediaTypes** Enum) {
    if (!Enum)
        return E_POINTER;
    *Enum = new TSingleEnum<IEnumMediaTypes, AM_MEDIA_TYPE>(&MakeType, nullptr, static_cast<IPin*>(this));
    return S_OK;
}

HRESULT TVobReaderPin::QueryInternalConnections(IPin**, ULONG*) {
    return E_NOTIMPL;
}

HRESULT TVobReaderPin::EndOfStream() {
    return E_UNEXPECTED;
}

HRESULT TVobReaderPin::BeginFlush() {
    std::lock_guard<std::mutex> Guard(Lock_);
    Flushing_ = true;
    Ready_.notify_all();
    return S_OK;
}

HRESULT TVobReaderPin::EndFlush() {
    std::lock_guard<std::mutex> Guard(Lock_);
    Flushing_ = false;
    return S_OK;
}

HRESULT TVobReaderPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) {
    return S_OK;
}

HRESULT TVobReaderPin::RequestAllocator(IMemAllocator* Preferred, ALLOCATOR_PROPERTIES* Properties,
                                        IMemAllocator** Actual) {
    if (!Properties || !Actual)
        return E_POINTER;
    *Actual = nullptr;
    ComPtr<IMemAllocator> Allocator = Preferred;
    if (!Allocator) {
        HRESULT Result =
            CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&Allocator));
        if (FAILED(Result))
            return Result;
    }
    ALLOCATOR_PROPERTIES Asked = *Properties, Given{};
    if (Asked.cbAlign == 0)
        Asked.cbAlign = 1;
    HRESULT Result = Allocator->SetProperties(&Asked, &Given);
    if (FAILED(Result))
        return Result;
    *Actual = Allocator.Detach();
    return S_OK;
}

HRESULT TVobReaderPin::Fill(IMediaSample* Sample) {
    REFERENCE_TIME Start = 0, Stop = 0;
    BYTE* Buffer = nullptr;
    if (FAILED(Sample->GetTime(&Start, &Stop)) || FAILED(Sample->GetPointer(&Buffer)))
        return E_FAIL;
    int64_t Position = Start / BytesToUnits;
    int64_t Wanted = std::min<int64_t>((Stop - Start) / BytesToUnits, Sample->GetSize());
    if (Position < 0 || Wanted < 0)
        return E_INVALIDARG;
    size_t Got = Filter_.Range().Read(Position, Buffer, static_cast<size_t>(Wanted));
    Sample->SetActualDataLength(static_cast<long>(Got));
    return static_cast<int64_t>(Got) == Wanted ? S_OK : S_FALSE;
}

HRESULT TVobReaderPin::Request(IMediaSample* Sample, DWORD_PTR User) {
    if (!Sample)
        return E_POINTER;
    std::lock_guard<std::mutex> Guard(Lock_);
    if (Flushing_)
        return VFW_E_WRONG_STATE;
    Fill(Sample);
    Sample->AddRef(); // handed back by WaitForNext
    Done_.push_back({Sample, User});
    Ready_.notify_one();
    return S_OK;
}

HRESULT TVobReaderPin::WaitForNext(DWORD Timeout, IMediaSample** Sample, DWORD_PTR* User) {
    if (!Sample || !User)
        return E_POINTER;
    *Sample = nullptr;
    *User = 0;
    std::unique_lock<std::mutex> Guard(Lock_);
    auto Pending = [this] { return !Done_.empty() || Flushing_; };
    if (Timeout == INFINITE)
        Ready_.wait(Guard, Pending);
    else
        Ready_.wait_for(Guard, std::chrono::milliseconds(Timeout), Pending);
    if (Done_.empty())
        return Flushing_ ? VFW_E_WRONG_STATE : VFW_E_TIMEOUT;
    *Sample = Done_.front().Sample;
    *User = Done_.front().User;
    Done_.pop_front();
    return S_OK;
}

HRESULT TVobReaderPin::SyncReadAligned(IMediaSample* Sample) {
    return Sample ? Fill(Sample) : E_POINTER;
}

HRESULT TVobReaderPin::SyncRead(LONGLONG Position, LONG Size, BYTE* Buffer) {
    if (!Buffer)
        return E_POINTER;
    if (Position < 0 || Size < 0)
        return E_INVALIDARG;
    size_t Got = Filter_.Range().Read(Position, Buffer, static_cast<size_t>(Size));
    return static_cast<LONG>(Got) == Size ? S_OK : S_FALSE;
}

HRESULT TVobReaderPin::Length(LONGLONG* Total, LONGLONG* Available) {
    if (!Total || !Available)
        return E_POINTER;
    *Total = *Available = Filter_.Range().Length();
    return S_OK;
}

// ---- filter

TVobSource::TVobSource(std::unique_ptr<TVobRange> Range) : Range_(std::move(Range)), Pin_(*this) {}

HRESULT TVobSource::GetClassID(CLSID* Class) {
    if (!Class)
        return E_POINTER;
    *Class = GUID_NULL;
    return S_OK;
}

HRESULT TVobSource::Stop() {
    State_ = State_Stopped;
    return S_OK;
}

HRESULT TVobSource::Pause() {
    State_ = State_Paused;
    return S_OK;
}

HRESULT TVobSource::Run(REFERENCE_TIME) {
    State_ = State_Running;
    return S_OK;
}

HRESULT TVobSource::GetState(DWORD, FILTER_STATE* State) {
    if (!State)
        return E_POINTER;
    *State = State_;
    return S_OK;
}

HRESULT TVobSource::SetSyncSource(IReferenceClock* Clock) {
    Clock_ = Clock;
    return S_OK;
}

HRESULT TVobSource::GetSyncSource(IReferenceClock** Clock) {
    if (!Clock)
        return E_POINTER;
    *Clock = nullptr;
    return Clock_ ? Clock_.CopyTo(Clock) : S_OK;
}

HRESULT TVobSource::EnumPins(IEnumPins** Enum) {
    if (!Enum)
        return E_POINTER;
    *Enum = new TSingleEnum<IEnumPins, IPin>(&MakePin, this, static_cast<IBaseFilter*>(this));
    return S_OK;
}

HRESULT TVobSource::FindPin(LPCWSTR Id, IPin** Pin) {
    if (!Id || !Pin)
        return E_POINTER;
    *Pin = nullptr;
    if (wcscmp(Id, L"Output") != 0)
        return VFW_E_NOT_FOUND;
    *Pin = MakePin(this);
    return S_OK;
}

HRESULT TVobSource::QueryFilterInfo(FILTER_INFO* Info) {
    if (!Info)
        return E_POINTER;
    size_t Length = std::min<size_t>(Name_.size(), MAX_FILTER_NAME - 1);
    std::memcpy(Info->achName, Name_.c_str(), Length * sizeof(wchar_t));
    Info->achName[Length] = 0;
    Info->pGraph = Graph_;
    if (Graph_)
        Graph_->AddRef();
    return S_OK;
}

HRESULT TVobSource::JoinFilterGraph(IFilterGraph* Graph, LPCWSTR Name) {
    Graph_ = Graph;
    Name_ = Name ? Name : L"";
    return S_OK;
}

HRESULT TVobSource::QueryVendorInfo(LPWSTR*) {
    return E_NOTIMPL;
}

} // namespace dvdnav
