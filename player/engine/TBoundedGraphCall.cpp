#include "engine/TBoundedGraphCall.h"

#include "common/Win32Handles.h"
#include "forms/TApplication.h"

#include <atomic>
#include <cstdio>

namespace vireon {

// What the call's thread shares with the waiting side. Exactly one of the two settles the call:
// the thread marks it finished, or the waiting side marks it abandoned.
struct TBoundedGraphCall::TShared {
    enum TState : LONG { Running, Ended, Abandoned };

    TWork Work;
    UniqueHandle Done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HRESULT Result = E_FAIL;
    std::atomic<LONG> State{Running};
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

std::atomic<long> StuckCallCount{0};

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
        FShared->State = TShared::Ended;
        SetEvent(FShared->Done.get());
    }
}

TBoundedGraphCall::~TBoundedGraphCall() {
    if (FAbandoned)
        return;
    if (!Finished() && !FAborted && FBuilder)
        FBuilder->Abort();
    if (!Abandon())
        ReleaseFinishedWork();
}

long TBoundedGraphCall::StuckCalls() {
    return StuckCallCount;
}

void TBoundedGraphCall::EndProcessIfCallsAreStuck(UINT ExitCode) {
    if (StuckCalls() == 0)
        return;
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), ExitCode);
}

DWORD WINAPI TBoundedGraphCall::ThreadProc(void* Parameter) {
    std::unique_ptr<std::shared_ptr<TShared>> owned(static_cast<std::shared_ptr<TShared>*>(Parameter));
    TShared& shared = **owned;
    // The graph's objects are free-threaded; they are used here directly, never marshalled back
    // to the window thread (that is the thread that must stay free).
    ComInitialization com(COINIT_MULTITHREADED);
    try {
        shared.Result = shared.Work();
    } catch (...) {
        shared.Result = E_UNEXPECTED;
    }
    LONG running = TShared::Running;
    if (shared.State.compare_exchange_strong(running, TShared::Ended)) {
        // The waiting side lets go of the work's objects, on its own thread.
        SetEvent(shared.Done.get());
        return 0;
    }
    // Given up on, and back at last: nobody waits for the work's objects any more.
    shared.Work = nullptr;
    --StuckCallCount;
    return 0;
}

bool TBoundedGraphCall::Finished() const {
    return FShared->State == TShared::Ended;
}

bool TBoundedGraphCall::Abandon() {
    if (FAbandoned)
        return true;
    ++StuckCallCount; // before the thread can see itself abandoned and count itself out
    LONG running = TShared::Running;
    if (!FShared->State.compare_exchange_strong(running, TShared::Abandoned)) {
        --StuckCallCount;
        return false;
    }
    FAbandoned = true;
    return true;
}

void TBoundedGraphCall::ReleaseFinishedWork() {
    WaitForSingleObject(FShared->Done.get(), INFINITE); // set right after the state: a moment at most
    FShared->Work = nullptr;
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
    if (WaitForEnd(TimeoutMs)) {
        ReleaseFinishedWork();
        return FShared->Result;
    }
    bool cancelled = FCancelled || Application().Terminated();
    if (FBuilder)
        FBuilder->Abort();
    FAborted = true;
    FCancelled = false;
    if (WaitForEnd(cancelled ? 0 : AbortGraceMs) || !Abandon())
        ReleaseFinishedWork();
    return cancelled ? E_ABORT : VFW_E_TIMEOUT;
}

} // namespace vireon
