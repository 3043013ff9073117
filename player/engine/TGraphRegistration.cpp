#include "engine/TGraphRegistration.h"

#include "engine/TFilterGraph.h"

#include <utility>

namespace vireon {

TGraphRegistration::TGraphRegistration(TFilterGraph& Graph, IGraphMember* Member, IGraphEventListener* Listener)
    : FGraph(Graph.LifetimeCell()), FMember(Member), FListener(Listener) {
    Graph.AddGraphMember(Member);
    Graph.AddEventListener(Listener);
}

TGraphRegistration::TGraphRegistration(TGraphRegistration&& Other) noexcept
    : FGraph(std::move(Other.FGraph)), FMember(std::exchange(Other.FMember, nullptr)),
      FListener(std::exchange(Other.FListener, nullptr)) {}

TGraphRegistration& TGraphRegistration::operator=(TGraphRegistration&& Other) noexcept {
    if (this != &Other) {
        Reset();
        FGraph = std::move(Other.FGraph);
        FMember = std::exchange(Other.FMember, nullptr);
        FListener = std::exchange(Other.FListener, nullptr);
    }
    return *this;
}

void TGraphRegistration::Reset() {
    std::shared_ptr<TFilterGraph*> cell = std::move(FGraph);
    IGraphMember* member = std::exchange(FMember, nullptr);
    IGraphEventListener* listener = std::exchange(FListener, nullptr);
    if (!cell || !*cell)
        return;
    (*cell)->RemoveEventListener(listener);
    (*cell)->RemoveGraphMember(member);
}

} // namespace vireon
