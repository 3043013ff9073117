// The graph component: owns one filter graph built by its mode (plain, capture, DVD), turns the
// graph's queued events into typed events, tells its members and listeners about life-cycle
// steps, and answers QueryInterface by delegating to the platform objects it owns.
#pragma once

#include "engine/GraphEventTypes.h"
#include "engine/GraphInterfaces.h"
#include "engine/TBoundedGraphCall.h"
#include "engine/TGraphRegistration.h"
#include "engine/TGraphNotifyWindow.h"

#include "common/DirectShowUuids.h"
#include "common/Win32Handles.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace vireon {

class TFilterGraph : public TComponent {
public:
    explicit TFilterGraph(TComponent* AOwner = nullptr);
    ~TFilterGraph() override;

    // After the owner has finished loading: activates when AutoCreate is set.
    void Loaded();

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    bool AutoCreate() const { return FAutoCreate; }
    void SetAutoCreate(bool Value) { FAutoCreate = Value; }
    TGraphMode Mode() const { return FMode; }
    void SetMode(TGraphMode Value);
    bool GraphEdit() const { return FGraphEdit; }
    void SetGraphEdit(bool Value);
    const std::string& LogFile() const { return FLogFile; }
    void SetLogFile(const std::string& Value);
    HWND NotifyWindow() const { return FNotifyWindow.Handle(); }
    // A media file's graph build, a DVD volume's render and a stop run on a thread of their own
    // while the window's messages keep being dispatched; one not finished after this many
    // milliseconds is aborted, and when it still does not return, the graph is left to it for good
    // and replaced (default 15 s).
    DWORD BuildTimeout() const { return FBuildTimeout; }
    void SetBuildTimeout(DWORD Value) { FBuildTimeout = Value; }
    // A build or stop is running: meanwhile the graph is offered to nobody (it is busy and may not
    // return).
    bool Building() const { return FBuild != nullptr; }

    // Delegates by mode to the objects owned while active.
    HRESULT QueryInterface(REFIID Iid, void** Object);
    template <typename Interface> HRESULT QueryInterface(Microsoft::WRL::ComPtr<Interface>& Object) {
        return QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(Object.ReleaseAndGetAddressOf()));
    }

    bool Play();
    bool Pause();
    bool Stop();
    // Moves a media file's playback to Position (100-ns units) and keeps the graph's state. On
    // Wine the graph is stopped around the seek: its parser hangs at the next stop after a seek
    // in a running or paused graph.
    HRESULT SeekTo(LONGLONG Position);
    HRESULT RenderMediaFile(const std::wstring& FileName);
    // Bounded like RenderMediaFile: VFW_E_TIMEOUT (Status untouched) when the render did not end in
    // time, E_ABORT when the component was deactivated meanwhile.
    HRESULT RenderDvdVolume(AM_DVD_RENDERSTATUS& Status, const std::wstring& FileName, int Flags);
    void ResetGraph();
    void DisconnectAllPins();
    int GetVolumeLevel();
    void SetVolumeLevel(int Level);

    void AddGraphMember(IGraphMember* Member);
    void RemoveGraphMember(IGraphMember* Member);
    void AddEventListener(IGraphEventListener* Listener);
    void RemoveEventListener(IGraphEventListener* Listener);
    void BroadcastControlEvent(TGraphControlEvent Event, int Param);
    // Adds a member and/or a listener for as long as the returned registration lives.
    [[nodiscard]] TGraphRegistration Join(IGraphMember* Member, IGraphEventListener* Listener) {
        return TGraphRegistration(*this, Member, Listener);
    }
    // Points at this graph until it is destroyed, then at nothing; registrations keep a copy.
    const std::shared_ptr<TFilterGraph*>& LifetimeCell() const { return FLifetime; }

    // Drains the graph's event queue; run on every notification message.
    void ProcessGraphEvents();
    virtual void DispatchGraphEvent(long Code, LONG_PTR Param1, LONG_PTR Param2);

    TNotifyEvent OnActivate;
    TOnDSEvent OnDSEvent;

    TOnGraphComplete OnGraphComplete;
    TNotifyEvent OnGraphUserAbort;
    TOnDSResult OnGraphErrorAbort;
    TOnGraphStreamError OnGraphStreamErrorStopped;
    TOnGraphStreamError OnGraphStreamErrorStillPlaying;
    TOnDSResult OnGraphErrorStillPlaying;
    TNotifyEvent OnGraphPaletteChanged;
    TOnGraphVideoSizeChanged OnGraphVideoSizeChanged;
    TNotifyEvent OnGraphQualityChange;
    TNotifyEvent OnGraphClockChanged;
    TOnDSResult OnGraphPaused;
    TOnGraphOpeningFile OnGraphOpeningFile;
    TOnGraphBufferingData OnGraphBufferingData;
    TOnGraphFullscreenLost OnGraphFullscreenLost;
    TOnGraphOleEvent OnGraphOleEvent;
    TOnGraphStreamControl OnGraphStreamControlStopped;
    TOnGraphStreamControl OnGraphStreamControlStarted;
    TOnGraphEndOfSegment OnGraphEndOfSegment;
    TOnGraphDeviceLost OnGraphDeviceLost;
    TNotifyEvent OnGraphStepComplete;
    TOnGraphTimeCodeAvailable OnGraphTimeCodeAvailable;
    TOnGraphEXTDeviceModeChange OnGraphEXTDeviceModeChange;
    TNotifyEvent OnGraphChanged;
    TNotifyEvent OnGraphClockUnset;
    TOnGraphVMRRenderDevice OnGraphVMRRenderDevice;
    TOnGraphSNDDevError OnGraphSNDDevInError;
    TOnGraphSNDDevError OnGraphSNDDevOutError;

    TNotifyEvent OnDVDDomainFirstPlay;
    TNotifyEvent OnDVDDomainVideoManagerMenu;
    TNotifyEvent OnDVDDomainVideoTitleSetMenu;
    TNotifyEvent OnDVDDomainTitle;
    TNotifyEvent OnDVDDomainStop;
    TOnDVDTitleChange OnDVDTitleChange;
    TOnDVDChapterStart OnDVDChapterStart;
    TOnDVDAudioStreamChange OnDVDAudioStreamChange;
    TOnDVDSubpictureStreamChange OnDVDSubpictureStreamChange;
    TOnDVDChange OnDVDAngleChange;
    TOnDVDChange OnDVDButtonChange;
    TOnDVDValidUOPSChange OnDVDValidUOPSChange;
    TOnDVDStillOn OnDVDStillOn;
    TNotifyEvent OnDVDStillOff;
    TOnDVDCurrentTime OnDVDCurrentTime;
    TNotifyEvent OnDVDErrorUnexpected;
    TNotifyEvent OnDVDErrorInvalidDVD1_0Disc;
    TNotifyEvent OnDVDErrorInvalidDiscRegion;
    TNotifyEvent OnDVDErrorLowParentalLevel;
    TNotifyEvent OnDVDErrorIncompatibleSystemAndDecoderRegions;
    TNotifyEvent OnDVDErrorIncompatibleDiscAndDecoderRegions;
    TNotifyEvent OnDVDWarningInvalidDVD1_0Disc;
    TNotifyEvent OnDVDWarningFormatNotSupported;
    TNotifyEvent OnDVDWarningIllegalNavCommand;
    TNotifyEvent OnDVDWarningOpen;
    TNotifyEvent OnDVDWarningSeek;
    TNotifyEvent OnDVDWarningRead;
    TNotifyEvent OnDVDChapterAutoStop;
    TNotifyEvent OnDVDNoFP_PGC;
    TOnDVDPlaybackRateChange OnDVDPlaybackRateChange;
    TOnDVDParentalLevelChange OnDVDParentalLevelChange;
    TNotifyEvent OnDVDPlaybackStopped;
    TOnDVDAnglesAvailable OnDVDAnglesAvailable;
    TNotifyEvent OnDVDPlayPeriodAutoStop;
    TOnDVDButtonAutoActivated OnDVDButtonAutoActivated;
    TOnDVDCMD OnDVDCMDStart;
    TOnDVDCMD OnDVDCMDEnd;
    TNotifyEvent OnDVDDiscEjected;
    TNotifyEvent OnDVDDiscInserted;
    TOnDVDCurrentHMSFTime OnDVDCurrentHMSFTime;
    TOnDVDKaraokeMode OnDVDKaraokeMode;

private:
    void Activate();
    bool DisconnectSourceLinks();
    // Broadcasts Event, then runs Command; E_NOINTERFACE (nothing done) without media control.
    HRESULT ControlGraph(TGraphControlEvent Event, HRESULT (*Command)(IMediaControl& Control));
    void Deactivate(bool GraphAbandoned = false);
    void LeaveAbandonedGraph();
    // Runs Work on a thread of its own (see BuildTimeout); E_ABORT when the component was
    // deactivated or destroyed meanwhile, VFW_E_TIMEOUT when Work did not end in time.
    HRESULT RunBounded(TBoundedGraphCall::TWork Work);
    void CreateGraphObjects();
    void AddMember(IGraphMember* Member);
    void RemoveMember(IGraphMember* Member, bool Abandoned);
    void OpenLogFile();
    void CloseLogFile();
    void Register();
    void Unregister();

    bool DispatchGraphEventsLow(long Code, LONG_PTR Param1, LONG_PTR Param2);
    bool DispatchGraphEventsHigh(long Code, LONG_PTR Param1, LONG_PTR Param2);
    bool DispatchDvdEvent(long Code, LONG_PTR Param1, LONG_PTR Param2);
    bool DispatchDvdStateEvent(long Code, LONG_PTR Param1, LONG_PTR Param2);
    void DispatchDvdDomain(LONG_PTR Domain);
    void DispatchDvdError(LONG_PTR Error);
    void DispatchDvdWarning(LONG_PTR Warning);
    void DispatchStreamLanguage(long Code, LONG_PTR Stream);
    void DispatchDvdCurrentTime(LONG_PTR TimeCode);

    // Listeners may add or remove listeners meanwhile: those present when the event started
    // hear it once, unless removed before their turn.
    template <typename Call> void ForEachListener(const Call& Notify) {
        std::vector<IGraphEventListener*> listeners(FEventListeners);
        for (IGraphEventListener* listener : listeners)
            if (std::find(FEventListeners.begin(), FEventListeners.end(), listener) != FEventListeners.end())
                Notify(listener);
    }

    template <typename Handler, typename... Args> void Raise(const Handler& Event, Args&&... Arguments) {
        CallEvent(Event, this, std::forward<Args>(Arguments)...);
    }

    std::shared_ptr<TFilterGraph*> FLifetime;
    bool FActive = false;
    bool FAutoCreate = false;
    TGraphMode FMode = gmNormal;
    bool FGraphEdit = false;
    std::string FLogFile;
    TGraphNotifyWindow FNotifyWindow;
    std::vector<IGraphMember*> FGraphMembers;
    std::vector<IGraphEventListener*> FEventListeners;
    Microsoft::WRL::ComPtr<IFilterGraph2> FFilterGraph;
    Microsoft::WRL::ComPtr<ICaptureGraphBuilder2> FCaptureGraph;
    Microsoft::WRL::ComPtr<IDvdGraphBuilder> FDvdGraph;
    Microsoft::WRL::ComPtr<IMediaEventEx> FMediaEvent;
    DWORD FGraphEditCookie = 0;
    TBoundedGraphCall* FBuild = nullptr;
    DWORD FBuildTimeout = 15000;
    vireon::UniqueFile FLogStream;
};

} // namespace vireon
