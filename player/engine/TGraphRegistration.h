// A member's or listener's place in a graph, held by the member itself: it leaves the graph when
// the registration goes, and becomes empty when the graph goes first. Neither side can then call
// the other after it is gone.
#pragma once

#include "engine/GraphInterfaces.h"

#include <memory>

namespace vireon {

class TFilterGraph;

class TGraphRegistration {
public:
    TGraphRegistration() = default;
    // Adds Member (when given) and Listener (when given) to Graph.
    TGraphRegistration(TFilterGraph& Graph, IGraphMember* Member, IGraphEventListener* Listener);
    ~TGraphRegistration() { Reset(); }
    TGraphRegistration(TGraphRegistration&& Other) noexcept;
    TGraphRegistration& operator=(TGraphRegistration&& Other) noexcept;
    TGraphRegistration(const TGraphRegistration&) = delete;
    TGraphRegistration& operator=(const TGraphRegistration&) = delete;

    // The graph while both it and the registration live; nullptr otherwise.
    TFilterGraph* Graph() const { return FGraph ? *FGraph : nullptr; }
    explicit operator bool() const { return Graph() != nullptr; }
    // Leaves the graph now (nothing when it is already gone).
    void Reset();

private:
    // Shared with the graph, which clears it when it is destroyed.
    std::shared_ptr<TFilterGraph*> FGraph;
    IGraphMember* FMember = nullptr;
    IGraphEventListener* FListener = nullptr;
};

} // namespace vireon
