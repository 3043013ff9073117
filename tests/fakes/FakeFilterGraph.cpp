#include "fakes/FakeFilterGraph.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace fakes {

FakeFilterGraph::FakeFilterGraph(std::string name) : Fake(std::move(name)) {}

FakeFilterGraph::~FakeFilterGraph() {
    for (auto& member : filters_)
        member.filter->JoinFilterGraph(nullptr, nullptr);
}

bool FakeFilterGraph::Contains(IBaseFilter* filter) const {
    return std::any_of(filters_.begin(), filters_.end(),
                       [filter](const Member& member) { return member.filter.Get() == filter; });
}

void FakeFilterGraph::QueueEvent(long code, LONG_PTR param1, LONG_PTR param2) {
    events_.push_back({code, param1, param2});
    if (window_ && notifyFlags_ == 0)
        PostMessageW(window_, message_, 0, instance_);
}

STDMETHODIMP FakeFilterGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
    if (!filter)
        return Record("AddFilter", {}, E_POINTER);
    std::wstring text = name ? name : L"";
    filters_.push_back({filter, text});
    filter->JoinFilterGraph(this, text.c_str());
    return Record("AddFilter", Narrow(text.c_str()));
}

STDMETHODIMP FakeFilterGraph::RemoveFilter(IBaseFilter* filter) {
    auto found = std::find_if(filters_.begin(), filters_.end(),
                              [filter](const Member& member) { return member.filter.Get() == filter; });
    if (found == filters_.end())
        return Record("RemoveFilter", {}, VFW_E_NOT_FOUND);
    std::string name = Narrow(found->name.c_str());
    if (FAILED(removeResult))
        return Record("RemoveFilter", name, removeResult);
    ComPtr<IBaseFilter> removed = found->filter;
    filters_.erase(found);
    removed->JoinFilterGraph(nullptr, nullptr);
    return Record("RemoveFilter", name);
}

STDMETHODIMP FakeFilterGraph::EnumFilters(IEnumFilters** filters) {
    if (!filters)
        return E_POINTER;
    std::vector<ComPtr<IBaseFilter>> items;
    for (const Member& member : filters_)
        items.push_back(member.filter);
    *filters = MakeFake<FakeEnumFilters>(std::move(items)).Detach();
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::FindFilterByName(LPCWSTR name, IBaseFilter** filter) {
    if (!name || !filter)
        return E_POINTER;
    for (const Member& member : filters_)
        if (member.name == name)
            return member.filter.CopyTo(filter);
    *filter = nullptr;
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP FakeFilterGraph::Connect(IPin* output, IPin* input) {
    auto* from = dynamic_cast<FakePin*>(output);
    auto* to = dynamic_cast<FakePin*>(input);
    if (!from || !to)
        return Record("Connect", {}, E_POINTER);
    PIN_INFO fromInfo{}, toInfo{};
    from->QueryPinInfo(&fromInfo);
    to->QueryPinInfo(&toInfo);
    if (fromInfo.pFilter)
        fromInfo.pFilter->Release();
    if (toInfo.pFilter)
        toInfo.pFilter->Release();
    std::string link = Narrow(fromInfo.achName) + "->" + Narrow(toInfo.achName);
    if (FAILED(connectResult))
        return Record("Connect", link, connectResult);
    if (fromInfo.dir != PINDIR_OUTPUT || toInfo.dir != PINDIR_INPUT)
        return Record("Connect", link, VFW_E_INVALID_DIRECTION);
    if (from->Peer() || to->Peer())
        return Record("Connect", link, VFW_E_ALREADY_CONNECTED);
    FakePin::Link(from, to);
    return Record("Connect", link);
}

STDMETHODIMP FakeFilterGraph::Disconnect(IPin* pin) {
    if (!pin)
        return E_POINTER;
    return Record("Disconnect", {}, pin->Disconnect());
}

STDMETHODIMP FakeFilterGraph::AddSourceFilter(LPCWSTR file, LPCWSTR name, IBaseFilter** filter) {
    if (!file || !filter)
        return E_POINTER;
    *filter = nullptr;
    if (FAILED(addSourceResult))
        return Record("AddSourceFilter", Narrow(file), addSourceResult);
    auto source = MakeFake<FakeFilter>(name ? name : file, 0, sourceOutputs);
    AddFilter(source.Get(), name ? name : file);
    *filter = source.Detach();
    return Record("AddSourceFilter", Narrow(file));
}

STDMETHODIMP FakeFilterGraph::Abort() {
    if (!abortIgnored)
        Unblock();
    return Record("Abort");
}

// Recorded before the wait: the window thread records Abort meanwhile.
HRESULT FakeFilterGraph::WaitForRelease(const char* method, const std::string& argument) {
    Record(method, argument);
    return Hang();
}

HRESULT FakeFilterGraph::Hang() {
    waiting_ = true;
    WaitForSingleObject(released_.get(), INFINITE);
    waiting_ = false;
    return E_ABORT;
}

STDMETHODIMP FakeFilterGraph::SetLogFile(DWORD_PTR file) {
    logFile_ = file;
    return Record("SetLogFile", file ? "file" : "0");
}

STDMETHODIMP FakeFilterGraph::RenderEx(IPin* pin, DWORD flags, DWORD*) {
    if (!pin)
        return E_POINTER;
    PIN_INFO info{};
    pin->QueryPinInfo(&info);
    if (info.pFilter)
        info.pFilter->Release();
    if (FAILED(renderResult))
        return Record("RenderEx", Narrow(info.achName), renderResult);
    if (renderBlocks)
        return WaitForRelease("RenderEx", Narrow(info.achName) + " waits");
    // A renderer of its own for every rendered pin, connected to it.
    auto renderer = MakeFake<FakeFilter>(L"Renderer " + std::to_wstring(++renderers_), 1, 0);
    if (auto* output = dynamic_cast<FakePin*>(pin))
        FakePin::Link(output, renderer->GetPin(0));
    AddFilter(renderer.Get(), (L"Renderer " + std::to_wstring(renderers_)).c_str());
    return Record("RenderEx", Narrow(info.achName) + (flags ? " flags" : ""), renderResult);
}

HRESULT FakeFilterGraph::Transition(const char* method, HRESULT result, OAFilterState target) {
    if (SUCCEEDED(result))
        state = target;
    return Record(method, {}, result);
}

STDMETHODIMP FakeFilterGraph::Run() {
    return Transition("Run", runResult, State_Running);
}

STDMETHODIMP FakeFilterGraph::Pause() {
    return Transition("Pause", pauseResult, State_Paused);
}

STDMETHODIMP FakeFilterGraph::Stop() {
    if (stopBlocks)
        return WaitForRelease("Stop", "waits");
    return Transition("Stop", stopResult, State_Stopped);
}

STDMETHODIMP FakeFilterGraph::GetState(LONG, OAFilterState* value) {
    if (!value)
        return E_POINTER;
    *value = state;
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long) {
    if (!code || !param1 || !param2)
        return E_POINTER;
    if (events_.empty())
        return Record("GetEvent", {}, E_ABORT);
    *code = events_.front().code;
    *param1 = events_.front().param1;
    *param2 = events_.front().param2;
    events_.pop_front();
    return Record("GetEvent", std::to_string(*code));
}

STDMETHODIMP FakeFilterGraph::FreeEventParams(long code, LONG_PTR, LONG_PTR) {
    return Record("FreeEventParams", std::to_string(code));
}

STDMETHODIMP FakeFilterGraph::SetNotifyWindow(OAHWND window, long message, LONG_PTR instance) {
    window_ = reinterpret_cast<HWND>(window);
    message_ = static_cast<UINT>(message);
    instance_ = instance;
    return Record("SetNotifyWindow", window ? std::to_string(message) : "0");
}

STDMETHODIMP FakeFilterGraph::SetNotifyFlags(long flags) {
    notifyFlags_ = flags;
    return Record("SetNotifyFlags", std::to_string(flags));
}

STDMETHODIMP FakeFilterGraph::GetNotifyFlags(long* flags) {
    if (!flags)
        return E_POINTER;
    *flags = notifyFlags_;
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::Notify(long code, LONG_PTR param1, LONG_PTR param2) {
    QueueEvent(code, param1, param2);
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::put_Volume(long value) {
    if (SUCCEEDED(putVolumeResult))
        volume = value;
    return Record("put_Volume", std::to_string(value), putVolumeResult);
}

STDMETHODIMP FakeFilterGraph::get_Volume(long* value) {
    if (!value)
        return E_POINTER;
    if (SUCCEEDED(getVolumeResult))
        *value = volume;
    return Record("get_Volume", {}, getVolumeResult);
}

STDMETHODIMP FakeFilterGraph::GetCapabilities(DWORD* capabilities) {
    if (!capabilities)
        return E_POINTER;
    *capabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetDuration;
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::IsFormatSupported(const GUID* format) {
    if (!format)
        return E_POINTER;
    return IsEqualGUID(*format, TIME_FORMAT_MEDIA_TIME) ? S_OK : S_FALSE;
}

STDMETHODIMP FakeFilterGraph::QueryPreferredFormat(GUID* format) {
    if (!format)
        return E_POINTER;
    *format = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::GetDuration(LONGLONG* value) {
    if (!value)
        return E_POINTER;
    *value = duration;
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::GetCurrentPosition(LONGLONG* value) {
    if (!value)
        return E_POINTER;
    *value = position;
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD) {
    if ((currentFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning && current)
        position = *current;
    (void)stop;
    return Record("SetPositions", current ? std::to_string(*current) : "");
}

STDMETHODIMP FakeFilterGraph::GetPositions(LONGLONG* current, LONGLONG* stop) {
    if (current)
        *current = position;
    if (stop)
        *stop = duration;
    return S_OK;
}

STDMETHODIMP FakeFilterGraph::SetRate(double value) {
    rate = value;
    return Record("SetRate", std::to_string(value));
}

STDMETHODIMP FakeFilterGraph::GetRate(double* value) {
    if (!value)
        return E_POINTER;
    *value = rate;
    return S_OK;
}

} // namespace fakes
