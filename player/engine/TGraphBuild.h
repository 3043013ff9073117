// One graph build run on a thread of its own, so that the window thread keeps dispatching its
// messages while the graph manager works (a broken file can keep a parser waiting for good). A
// build not finished in time is asked to abort through the graph builder; one that still does not
// return is abandoned: its thread keeps the objects it uses and releases them if it ever ends.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <functional>
#include <memory>

namespace vireon {

class TGraphBuild {
public:
    using TWork = std::function<HRESULT()>;

    // Starts Work at once. Everything Work uses must be held by the function object itself.
    TGraphBuild(TWork Work, Microsoft::WRL::ComPtr<IGraphBuilder> Builder);
    // A build still running is aborted and abandoned.
    ~TGraphBuild();
    TGraphBuild(const TGraphBuild&) = delete;
    TGraphBuild& operator=(const TGraphBuild&) = delete;

    // Dispatches the thread's messages until the build ends or TimeoutMs have passed, then asks
    // the builder to abort and waits AbortGraceMs more. Answers the build's result, or
    // VFW_E_TIMEOUT when it did not end in time (also after an abort it obeyed), or E_ABORT when
    // Cancel was called meanwhile.
    HRESULT Wait(DWORD TimeoutMs, DWORD AbortGraceMs);
    // Ends a Wait running further up the stack as soon as control returns to it.
    void Cancel() { FCancelled = true; }
    // The build's thread was left running.
    bool Abandoned() const { return FAbandoned; }

private:
    struct TShared;
    static DWORD WINAPI ThreadProc(void* Parameter);
    bool WaitForEnd(DWORD Milliseconds);
    bool Finished() const;

    std::shared_ptr<TShared> FShared;
    bool FCancelled = false;
    bool FAbandoned = false;
};

} // namespace vireon
