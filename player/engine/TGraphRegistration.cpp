#include "engine/TGraphRegistration.h"

#include "engine/TFilterGraph.h"

#include <utility>

namespace vireon {

TGraphRegistration::TGraphRegistration(TFilterGraph& Graph, IGraphMember* Member,
                                       IGraphEventListener* Listener)
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
    IGraphMember* member = std::exchange(FMember, nullptr);
    IGraphEventListener* listener = std::exchange(FListener, nullptr);
    // The member still reaches the graph while it leaves it: it stops a running graph before its
    // filter goes.
    std::shared_ptr<TFilterGraph*> cell = FGraph;
    if (cell && *cell) {
        (*cell)->RemoveEventListener(listener);
        (*cell)->RemoveGraphMember(member);
    }
    FGraph.reset();
}

} // namespace vireon
