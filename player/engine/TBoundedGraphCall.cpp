#include "engine/TBoundedGraphCall.h"

#include "common/Win32Handles.h"
#include "forms/TApplication.h"

namespace vireon {

// What the build's thread shares with the waiting side; the thread keeps it alive until it ends.
struct TBoundedGraphCall::TShared {
    TWork Work;
    UniqueHandle Done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HRESULT Result = E_FAIL;
};

namespace {

// Releases deferred by the framework while the build is waited for: a form closed meanwhile is
// freed once the caller has returned, not under it.
class TDispatchScope {
public:
    TDispatchScope() { Application().EnterDispatch(); }
    ~TDispatchScope() { Application().LeaveDispatch(); }
    TDispatchScope(const TDispatchScope&) = delete;
    TDispatchScope& operator=(const TDispatchScope&) = delete;
};

} // namespace

TBoundedGraphCall::TBoundedGraphCall(TWork Work, Microsoft::WRL::ComPtr<IGraphBuilder> Builder)
    : FShared(std::make_shared<TShared>()), FBuilder(std::move(Builder)) {
    FShared->Work = std::move(Work);
    auto* threadShare = new std::shared_ptr<TShared>(FShared);
    UniqueHandle thread(CreateThread(nullptr, 0, &TBoundedGraphCall::ThreadProc, threadShare, 0, nullptr));
    if (!thread) {
        delete threadShare;
        FShared->Work = nullptr;
        FShared->Result = HRESULT_FROM_WIN32(GetLastError());
        SetEvent(FShared->Done.get());
    }
}

TBoundedGraphCall::~TBoundedGraphCall() {
    if (!FAborted && !Finished() && FBuilder)
        FBuilder->Abort();
}

DWORD WINAPI TBoundedGraphCall::ThreadProc(void* Parameter) {
    std::unique_ptr<std::shared_ptr<TShared>> owned(static_cast<std::shared_ptr<TShared>*>(Parameter));
    TShared& shared = **owned;
    {
        // The graph's objects are free-threaded; they are used here directly, never marshalled
        // back to the window thread (that is the thread that must stay free).
        ComInitialization com(COINIT_MULTITHREADED);
        try {
            shared.Result = shared.Work();
        } catch (...) {
            shared.Result = E_UNEXPECTED;
        }
        // The build's objects go here, before the end is signalled: once the wait is over nothing
        // of the build holds them. An abandoned build's objects go whenever it returns.
        shared.Work = nullptr;
    }
    SetEvent(shared.Done.get());
    return 0;
}

bool TBoundedGraphCall::Finished() const {
    return WaitForSingleObject(FShared->Done.get(), 0) == WAIT_OBJECT_0;
}

// Dispatches messages while waiting; false when the time ran out, the wait was cancelled or the
// application is ending.
bool TBoundedGraphCall::WaitForEnd(DWORD Milliseconds) {
    TApplication& application = Application();
    const DWORD start = GetTickCount();
    HANDLE done = FShared->Done.get();
    while (!FCancelled && !application.Terminated()) {
        DWORD spent = GetTickCount() - start;
        if (spent >= Milliseconds)
            return Finished();
        DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &done, Milliseconds - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0)
            return true;
        application.ProcessMessages();
    }
    return Finished();
}

HRESULT TBoundedGraphCall::Wait(DWORD TimeoutMs, DWORD AbortGraceMs) {
    TDispatchScope dispatch;
    if (WaitForEnd(TimeoutMs))
        return FShared->Result;
    bool cancelled = FCancelled || Application().Terminated();
    if (FBuilder)
        FBuilder->Abort();
    FAborted = true;
    FCancelled = false;
    if (!WaitForEnd(cancelled ? 0 : AbortGraceMs))
        FAbandoned = true;
    return cancelled ? E_ABORT : VFW_E_TIMEOUT;
}

} // namespace vireon
