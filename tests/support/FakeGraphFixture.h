// A TFilterGraph whose platform objects are fakes: one graph manager, a DVD graph builder
// handing out that graph, and a capture builder. Checks at the end that no fake outlives the test.
#pragma once

#include "engine/TFilterGraph.h"

#include "fakes/FakeDvd.h"
#include "fakes/FakeGraphCompanions.h"
#include "fakes/FakePlatform.h"
#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <memory>

class FakeGraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        baseline = fakes::LiveObjects();
        fakes::Journal().clear();
        graph = fakes::MakeFake<fakes::FakeFilterGraph>();
        dvdBuilder = fakes::MakeFake<fakes::FakeDvdGraphBuilder>(graph.Get());
        capture = fakes::MakeFake<fakes::FakeCaptureGraphBuilder2>();
        platform.Provide(CLSID_FilterGraph, static_cast<IFilterGraph2*>(graph.Get()));
        platform.Provide(CLSID_DvdGraphBuilder, dvdBuilder.Get());
        platform.Provide(CLSID_CaptureGraphBuilder2, capture.Get());
        component = std::make_unique<vireon::TFilterGraph>();
    }

    void TearDown() override {
        component.reset();
        platform.Clear();
        dvdBuilder.Reset();
        capture.Reset();
        graph.Reset();
        EXPECT_EQ(baseline, fakes::LiveObjects()) << "a fake was leaked";
    }

    // Runs the notification messages posted to the component's window.
    static void PumpMessages() { testsupport::PumpMessages(); }

    std::vector<std::string> Journaled(std::initializer_list<const char*> prefixes) {
        return fakes::JournalOf(prefixes);
    }

    int baseline = 0;
    fakes::ScopedFakePlatform platform;
    Microsoft::WRL::ComPtr<fakes::FakeFilterGraph> graph;
    Microsoft::WRL::ComPtr<fakes::FakeDvdGraphBuilder> dvdBuilder;
    Microsoft::WRL::ComPtr<fakes::FakeCaptureGraphBuilder2> capture;
    std::unique_ptr<vireon::TFilterGraph> component;
};
