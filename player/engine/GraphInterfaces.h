// The graph component's enumerations and the interfaces of its companions.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

namespace vireon {

enum TGraphMode { gmNormal = 0, gmCapture = 1, gmDVD = 2 };

enum TGraphControlEvent {
    gcPlay = 0,
    gcPause = 1,
    gcStop = 2,
    gcFileRendering = 3,
    gcFileRendered = 4,
    gcDvdRendering = 5,
    gcDvdRendered = 6,
    gcActive = 7
};

enum TMembershipStep { msAdding = 0, msAdded = 1, msRemoving = 2, msRemoved = 3 };

// Param of msRemoving and msRemoved when the graph was left to a build that does not return: the
// member's filter stays in it and nothing of that graph may be called any more.
constexpr int kGraphAbandoned = 1;

// A component with a filter of its own (the video window): inserted into the graph on every
// activation, taken out on every deactivation. The graph does not own it; see TGraphRegistration.
class IGraphMember {
public:
    virtual Microsoft::WRL::ComPtr<IBaseFilter> GetMemberFilter() = 0;
    virtual std::wstring GetMemberName() = 0;
    virtual void NotifyMembership(TMembershipStep Step, int Param) = 0;

protected:
    ~IGraphMember() = default;
};

// Sees every graph event and every control event of the graph. The graph does not own it; a
// listener holds a TGraphRegistration (TFilterGraph::Join) so it leaves before it is destroyed.
class IGraphEventListener {
public:
    virtual void HandleGraphEvent(long Code, LONG_PTR Param1, LONG_PTR Param2) = 0;
    virtual void HandleControlEvent(TGraphControlEvent Event, int Param) = 0;

protected:
    ~IGraphEventListener() = default;
};

} // namespace vireon
