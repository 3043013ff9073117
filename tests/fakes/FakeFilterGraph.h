// A fake filter graph manager: filters, media control, event queue with window notification,
// basic audio and seeking. Results of the calls tests steer are public fields.
#pragma once

#include "fakes/FakeFilter.h"

#include "common/DirectShowUuids.h"
#include "common/Win32Handles.h"

#include <atomic>

#include <deque>

namespace fakes {

class FakeFilterGraph
    : public Fake<vireon::ComChain<IFilterGraph2, IGraphBuilder, IFilterGraph>,
                  vireon::ComChain<IMediaControl, IDispatch>, vireon::ComChain<IMediaEventEx, IMediaEvent>,
                  IMediaEventSink, IBasicAudio, IMediaSeeking> {
public:
    explicit FakeFilterGraph(std::string name = "graph");
    ~FakeFilterGraph() override;

    // Steering.
    HRESULT runResult = S_OK, pauseResult = S_OK, stopResult = S_OK;
    HRESULT addSourceResult = S_OK;
    int sourceOutputs = 2; // output pins of the source filter AddSourceFilter creates
    HRESULT renderResult = S_OK;
    HRESULT removeResult = S_OK;
    HRESULT connectResult = S_OK;
    HRESULT getVolumeResult = S_OK, putVolumeResult = S_OK;
    long volume = 0;
    LONGLONG position = 0, duration = 100000000;
    OAFilterState state = State_Stopped;
    // A graph that hangs: RenderEx (renderBlocks) or Stop (stopBlocks) waits until Abort is called
    // (or, with abortIgnored, until Unblock, as a graph manager whose abort does nothing), then
    // answers E_ABORT. They run on the component's own thread; Abort comes from the window thread.
    bool renderBlocks = false;
    bool stopBlocks = false;
    bool abortIgnored = false;
    void Unblock() { SetEvent(released_.get()); }
    // A call has begun waiting.
    bool Waiting() const { return waiting_; }
    // Waits as a hanging call of this graph does (also for its DVD builder's calls): E_ABORT once released.
    HRESULT Hang();

    // Queues an event and notifies the window the way the platform does (unless notifications are off).
    void QueueEvent(long code, LONG_PTR param1, LONG_PTR param2);
    size_t PendingEvents() const { return events_.size(); }
    HWND NotifyWindow() const { return window_; }
    UINT NotifyMessage() const { return message_; }
    long NotifyFlags() const { return notifyFlags_; }
    DWORD_PTR LogFile() const { return logFile_; }
    int FilterCount() const { return static_cast<int>(filters_.size()); }
    IBaseFilter* GetFilter(int index) const { return filters_[index].filter.Get(); }
    std::wstring FilterName(int index) const { return filters_[index].name; }
    bool Contains(IBaseFilter* filter) const;

    // IFilterGraph, IGraphBuilder, IFilterGraph2
    STDMETHODIMP AddFilter(IBaseFilter* filter, LPCWSTR name) override;
    STDMETHODIMP RemoveFilter(IBaseFilter* filter) override;
    STDMETHODIMP EnumFilters(IEnumFilters** filters) override;
    STDMETHODIMP FindFilterByName(LPCWSTR name, IBaseFilter** filter) override;
    STDMETHODIMP ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP Reconnect(IPin*) override { return E_NOTIMPL; }
    STDMETHODIMP Disconnect(IPin* pin) override;
    STDMETHODIMP SetDefaultSyncSource() override { return S_OK; }
    // Links two fake pins (output first), journaled as "Connect(<output id>-><input id>)".
    STDMETHODIMP Connect(IPin* output, IPin* input) override;
    STDMETHODIMP Render(IPin*) override { return E_NOTIMPL; }
    STDMETHODIMP RenderFile(LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP AddSourceFilter(LPCWSTR file, LPCWSTR name, IBaseFilter** filter) override;
    STDMETHODIMP SetLogFile(DWORD_PTR file) override;
    STDMETHODIMP Abort() override;
    STDMETHODIMP ShouldOperationContinue() override { return S_OK; }
    STDMETHODIMP AddSourceFilterForMoniker(IMoniker*, IBindCtx*, LPCWSTR, IBaseFilter**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP ReconnectEx(IPin*, const AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP RenderEx(IPin* pin, DWORD flags, DWORD* context) override;

    // IDispatch (shared by the automation interfaces)
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IMediaControl
    STDMETHODIMP Run() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP GetState(LONG, OAFilterState* state) override;
    STDMETHODIMP RenderFile(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP AddSourceFilter(BSTR, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_FilterCollection(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegFilterCollection(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP StopWhenReady() override { return Stop(); }

    // IMediaEventEx
    STDMETHODIMP GetEventHandle(OAEVENT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetEvent(long* code, LONG_PTR* param1, LONG_PTR* param2, long timeout) override;
    STDMETHODIMP WaitForCompletion(long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP CancelDefaultHandling(long) override { return S_OK; }
    STDMETHODIMP RestoreDefaultHandling(long) override { return S_OK; }
    STDMETHODIMP FreeEventParams(long code, LONG_PTR param1, LONG_PTR param2) override;
    STDMETHODIMP SetNotifyWindow(OAHWND window, long message, LONG_PTR instance) override;
    STDMETHODIMP SetNotifyFlags(long flags) override;
    STDMETHODIMP GetNotifyFlags(long* flags) override;

    // IMediaEventSink
    STDMETHODIMP Notify(long code, LONG_PTR param1, LONG_PTR param2) override;

    // IBasicAudio
    STDMETHODIMP put_Volume(long value) override;
    STDMETHODIMP get_Volume(long* value) override;
    STDMETHODIMP put_Balance(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_Balance(long*) override { return E_NOTIMPL; }

    // IMediaSeeking
    STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
    STDMETHODIMP CheckCapabilities(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    STDMETHODIMP GetTimeFormat(GUID* format) override { return QueryPreferredFormat(format); }
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override { return IsFormatSupported(format); }
    STDMETHODIMP SetTimeFormat(const GUID* format) override { return IsFormatSupported(format); }
    STDMETHODIMP GetDuration(LONGLONG* value) override;
    STDMETHODIMP GetStopPosition(LONGLONG* value) override { return GetDuration(value); }
    STDMETHODIMP GetCurrentPosition(LONGLONG* value) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                              DWORD stopFlags) override;
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    STDMETHODIMP GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

    double rate = 1.0;

private:
    HRESULT Transition(const char* method, HRESULT result, OAFilterState target);

    struct Member {
        Microsoft::WRL::ComPtr<IBaseFilter> filter;
        std::wstring name;
    };
    struct Event {
        long code;
        LONG_PTR param1, param2;
    };
    std::vector<Member> filters_;
    std::deque<Event> events_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    LONG_PTR instance_ = 0;
    long notifyFlags_ = 0;
    DWORD_PTR logFile_ = 0;
    int renderers_ = 0;
    HRESULT WaitForRelease(const char* method, const std::string& argument);

    vireon::UniqueHandle released_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> waiting_{false};
};

} // namespace fakes
