// A graph member with a fake filter and an event listener, both writing to the journal
// ("member:<name>.NotifyMembership(2)", "listener:<name>.Control(7,1)", "listener:<name>.Graph(10)").
#pragma once

#include "fakes/FakeFilter.h"

#include "engine/GraphInterfaces.h"

#include <functional>

namespace fakes {

class FakeGraphMember : public vireon::IGraphMember {
public:
    explicit FakeGraphMember(const std::wstring& name);
    FakeFilter* Filter() const { return filter_.Get(); }

    Microsoft::WRL::ComPtr<IBaseFilter> GetMemberFilter() override { return filter_; }
    std::wstring GetMemberName() override { return name_; }
    void NotifyMembership(vireon::TMembershipStep Step, int Param) override;

private:
    std::wstring name_;
    std::string tag_;
    Microsoft::WRL::ComPtr<FakeFilter> filter_;
};

class RecordingListener : public vireon::IGraphEventListener {
public:
    explicit RecordingListener(const std::string& name);

    // Runs inside the matching call, after it was recorded.
    std::function<void(vireon::TGraphControlEvent Event, int Param)> onControl;
    std::function<void(long Code)> onGraph;
    int controlCalls = 0, graphCalls = 0;

    void HandleGraphEvent(long Code, LONG_PTR Param1, LONG_PTR Param2) override;
    void HandleControlEvent(vireon::TGraphControlEvent Event, int Param) override;

private:
    std::string tag_;
};

} // namespace fakes
