// One call into the graph (a build, a stop) run on a thread of its own, so that the window thread
// keeps dispatching its messages while the graph manager works: a broken file can keep a parser,
// and with it the graph, waiting for good. A call not finished in time is asked to abort through
// the graph builder; one that still does not return is abandoned: its thread keeps the objects it
// uses and releases them if it ever returns. A call that ends in time is let go of on the waiting
// thread, never on its own (objects of the window thread, such as our DVD navigator's clock, go
// there).
//
// While an abandoned call is stuck, the platform's threads working for its graph stay parked
// inside the platform's media libraries. A normal end of the process tears those libraries down
// under them, and they crash it; such a process ends through EndProcessIfCallsAreStuck instead.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <functional>
#include <memory>

namespace vireon {

class TBoundedGraphCall {
public:
    using TWork = std::function<HRESULT()>;

    // Starts Work at once. Everything Work uses must be held by the function object itself.
    TBoundedGraphCall(TWork Work, Microsoft::WRL::ComPtr<IGraphBuilder> Builder);
    // A call still running is asked to abort, and abandoned.
    ~TBoundedGraphCall();
    TBoundedGraphCall(const TBoundedGraphCall&) = delete;
    TBoundedGraphCall& operator=(const TBoundedGraphCall&) = delete;

    // Dispatches the thread's messages until the call ends or TimeoutMs have passed, then asks
    // the builder to abort and waits AbortGraceMs more. Answers the call's result, or
    // VFW_E_TIMEOUT when it did not end in time (also after an abort it obeyed), or E_ABORT when
    // Cancel was called meanwhile.
    HRESULT Wait(DWORD TimeoutMs, DWORD AbortGraceMs);
    // Ends a Wait running further up the stack as soon as control returns to it.
    void Cancel() { FCancelled = true; }
    // The call's thread was left running, with everything it holds.
    bool Abandoned() const { return FAbandoned; }

    // Calls abandoned in this process that have not returned yet.
    static long StuckCalls();
    // While a call is stuck, ends the process at once with ExitCode, without unloading anything;
    // otherwise returns. Programs call it at their very end.
    static void EndProcessIfCallsAreStuck(UINT ExitCode);

private:
    struct TShared;
    static DWORD WINAPI ThreadProc(void* Parameter);
    bool WaitForEnd(DWORD Milliseconds);
    bool Finished() const;
    // Gives the running call up; false when it has finished meanwhile.
    bool Abandon();
    // The ended call's objects go here, on the waiting thread.
    void ReleaseFinishedWork();

    std::shared_ptr<TShared> FShared;
    Microsoft::WRL::ComPtr<IGraphBuilder> FBuilder;
    bool FCancelled = false;
    bool FAborted = false;
    bool FAbandoned = false;
};

} // namespace vireon
