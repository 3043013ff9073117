#include "fakes/FakeGraphCompanions.h"

namespace fakes {

FakeGraphMember::FakeGraphMember(const std::wstring& name)
    : name_(name), tag_("member:" + Narrow(name.c_str())), filter_(MakeFake<FakeFilter>(name, 1, 0)) {}

void FakeGraphMember::NotifyMembership(vireon::TMembershipStep Step, int Param) {
    std::string entry = tag_;
    entry += ".NotifyMembership(";
    entry += std::to_string(Step);
    if (Param) {
        entry += ",";
        entry += std::to_string(Param);
    }
    entry += ")";
    Journal().push_back(entry);
}

RecordingListener::RecordingListener(const std::string& name) : tag_("listener:") { tag_ += name; }

void RecordingListener::HandleGraphEvent(long Code, LONG_PTR, LONG_PTR) {
    ++graphCalls;
    Journal().push_back(tag_ + ".Graph(" + std::to_string(Code) + ")");
    if (onGraph)
        onGraph(Code);
}

void RecordingListener::HandleControlEvent(vireon::TGraphControlEvent Event, int Param) {
    ++controlCalls;
    Journal().push_back(tag_ + ".Control(" + std::to_string(Event) + "," + std::to_string(Param) + ")");
    if (onControl)
        onControl(Event, Param);
}

} // namespace fakes
