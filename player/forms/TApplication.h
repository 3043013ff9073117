// The one application object: runs the message loop, sees every queued message and every exception
// that escapes an event handler, timer tick, menu command or window procedure.
#pragma once

#include "common/Win32Handles.h"
#include "forms/TCommandTable.h"
#include "forms/TComponent.h"

#include <wrl/client.h>

#include <exception>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vireon {

class TForm;

using TExceptionEvent = TEvent<TObject* /*Sender*/, const std::exception&>;
using TMessageEvent = TEvent<MSG&, bool& /*Handled*/>;
using TIdleEvent = TEvent<TObject* /*Sender*/, bool& /*Done*/>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    // Frees the forms and components the application still owns, each through its destruction
    // phase, and the application's window. Runs at program end while COM is still initialised
    // (see TApplicationScope); the application can be used again afterwards.
    void Finalize();
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    HINSTANCE Instance() const { return FInstance; }
    // A hidden window of the application; owner of timers and of the application's own messages.
    HWND Handle();

    // Creates a form owned by the application; the first one becomes the main form. Runs the form's
    // OnCreate after construction.
    template <typename T, typename... Args> T* CreateForm(Args&&... args) {
        T* form = new T(this, std::forward<Args>(args)...);
        FormCreated(form);
        return form;
    }
    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* Value) { FMainForm = Value; }

    // Shows the main form and runs the message loop until the application is terminated (closing
    // the main form does that).
    void Run();
    // Lets every pending message be processed, then returns.
    void ProcessMessages();
    // Processes one message, or waits for one after running the idle handler when there is none.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // The standard error display: a message box with the exception's message.
    void ShowException(const std::exception& E);
    // What every escaping exception comes to: OnException when assigned, else ShowException.
    void HandleException(const std::exception& E);
    // The same for the exception being handled now (call inside a catch block); handles exceptions
    // of any type.
    void HandleCurrentException();

    TExceptionEvent OnException;
    TMessageEvent OnMessage;
    TIdleEvent OnIdle;

    // Top-most windows of the application made normal (for a message box or a dialog that must be
    // seen), and restored. Calls nest.
    void NormalizeTopMosts();
    void RestoreTopMosts();

    // Deferred freeing: a component released while one of the framework's window procedures is
    // running is freed once the outermost one has returned.
    void ReleaseComponent(TComponent* AComponent);
    void CancelRelease(TComponent* AComponent);
    int DispatchDepth() const { return FDispatchDepth; }
    void EnterDispatch() { ++FDispatchDepth; }
    void LeaveDispatch();

    TCommandTable& Commands() { return FCommands; }

    // Timers tick through the application's window: an identifier for the tick handler, to pass to
    // SetTimer with Handle(); FreeTimerId forgets it (the timer itself is killed by its owner).
    UINT_PTR AllocateTimerId(std::function<void()> OnTick);
    void FreeTimerId(UINT_PTR Id);

    // Platform objects kept until the application finalizes, at most one per class: state of the
    // platform that must outlive every component using it.
    bool KeepsAlive(REFCLSID ClassId) const;
    void KeepAlive(REFCLSID ClassId, Microsoft::WRL::ComPtr<IUnknown> Object);

    // Keyboard preprocessing of queued messages (shortcuts, dialog keys); set by the form layer.
    std::function<bool(MSG&)> OnKeyMessage;

private:
    void FormCreated(TForm* Form);
    bool ProcessMessage(MSG& Msg);
    void Idle();
    void FreeReleased();

    std::string FTitle = "Vireon";
    HINSTANCE FInstance;
    UniqueWindow FHandle;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    int FDispatchDepth = 0;
    int FTopMostLevel = 0;
    std::vector<HWND> FTopMostList;
    std::vector<TComponent*> FReleased;
    TCommandTable FCommands;
    std::unordered_map<UINT_PTR, std::function<void()>> FTimers;
    UINT_PTR FNextTimerId = 1;
    std::vector<std::pair<CLSID, Microsoft::WRL::ComPtr<IUnknown>>> FKeptAlive;
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
};

TApplication& Application();

// The program entry's scope: COM initialised for the program, and the application's remaining
// forms freed before COM is uninitialised, for the graph objects they may still hold.
class TApplicationScope {
public:
    explicit TApplicationScope(DWORD Model = COINIT_APARTMENTTHREADED) : FCom(Model) {}
    TApplicationScope(const TApplicationScope&) = delete;
    TApplicationScope& operator=(const TApplicationScope&) = delete;
    ~TApplicationScope() { Application().Finalize(); }
    HRESULT ComResult() const { return FCom.result(); }

private:
    ComInitialization FCom;
};

// Runs a window procedure's body with exceptions handed to the application, as every window
// procedure of the framework does: no exception crosses the platform's message dispatch.
template <typename Body> void GuardedCall(Body&& body) {
    try {
        body();
    } catch (...) {
        Application().HandleCurrentException();
    }
}

} // namespace vireon
