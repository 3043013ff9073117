// A form like the player's main window: a graph event listener with a skinned window and handlers
// that use its own members. It must be destroyed while it is whole, however it goes.
#include "engine/TFilterGraph.h"
#include "forms/LiveCounts.h"
#include "forms/TApplication.h"
#include "forms/TForm.h"

#include "support/FakeGraphFixture.h"
#include "TestSkin.h"

#include <evcode.h>

#include <string>
#include <vector>

using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

class TListeningForm : public TForm, public IGraphEventListener {
public:
    TListeningForm(TComponent* AOwner, TFilterGraph& Graph, Strings& Log, std::string Title)
        : TForm(AOwner), FGraph(Graph), FLog(Log), FTitle(std::move(Title)) {
        FGraph.AddEventListener(this);
        OnDestroy = [this](TObject*) {
            FLog.push_back("OnDestroy " + FTitle + (FSkin.IsSkinned(Handle()) ? " skinned" : ""));
            FGraph.RemoveEventListener(this);
        };
        FSkin.OnClick = [this](const std::wstring& Object) {
            FLog.push_back("click " + FTitle);
            if (Object == L"bnStop" && FreeOnClick) {
                Free();
                FLog.push_back("click handled " + FTitle);
            }
        };
        FSkin.Apply(Handle(), L"MainForm");
    }

    void HandleGraphEvent(long Code, LONG_PTR, LONG_PTR) override {
        FLog.push_back("event " + std::to_string(Code) + " " + FTitle);
        if (Code == EC_COMPLETE && FreeOnComplete)
            Free();
        if (FreeOnComplete)
            FLog.push_back("handler done " + FTitle);
    }
    void HandleControlEvent(TGraphControlEvent, int) override {}

    shelltest::TTestSkin& Skin() { return FSkin; }
    bool FreeOnComplete = false;
    bool FreeOnClick = false;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_DESTROY)
            FLog.push_back("WM_DESTROY " + FTitle);
        TForm::WndProc(Message);
    }

private:
    TFilterGraph& FGraph;
    Strings& FLog;
    std::string FTitle;
    shelltest::TTestSkin FSkin;
};

class FormDestruction : public FakeGraphTest {
protected:
    void SetUp() override {
        FakeGraphTest::SetUp();
        // The application's own window is counted too; it exists before the forms come.
        Application().Handle();
        windows = LiveCounts().Windows;
        components = LiveCounts().Components;
        component->SetActive(true);
    }

    void TearDown() override {
        // The graph stayed active all along and still delivers its events to whoever listens.
        EXPECT_TRUE(component->Active());
        graph->QueueEvent(EC_COMPLETE, S_OK, 0);
        PumpMessages();
        EXPECT_EQ(windows, LiveCounts().Windows) << "a window was leaked";
        EXPECT_EQ(components, LiveCounts().Components) << "a component was leaked";
        FakeGraphTest::TearDown();
    }

    // Runs the application's loop until the queue is empty.
    static void RunLoop() { Application().ProcessMessages(); }

    void ExpectDestroyedWhole(const std::string& Title, const char* How) {
        SCOPED_TRACE(How);
        EXPECT_EQ((Strings{"OnDestroy " + Title + " skinned", "WM_DESTROY " + Title}), log);
    }

    Strings log;
    int windows = 0;
    int components = 0;
};

TEST_F(FormDestruction, FreedDirectlyOrByItsOwnerWhileTheGraphRuns) {
    auto* form = new TListeningForm(nullptr, *component, log, "direct");
    form->Show();
    graph->QueueEvent(EC_PAUSED, S_OK, 0);
    RunLoop();
    EXPECT_EQ(Strings{"event 14 direct"}, log);
    log.clear();
    form->Free();
    ExpectDestroyedWhole("direct", "Free");

    log.clear();
    auto* owner = new TComponent(nullptr);
    auto* owned = new TListeningForm(owner, *component, log, "owned");
    owned->Show();
    RunLoop();
    FreeComponent(owner);
    ExpectDestroyedWhole("owned", "owner freed");

    log.clear();
    auto* last = Application().CreateForm<TListeningForm>(*component, log, "application");
    last->Show();
    RunLoop();
    // The program's end: the application's remaining forms go before COM.
    Application().Finalize();
    ExpectDestroyedWhole("application", "application finalised");
    EXPECT_EQ(0, Application().ComponentCount());
    // Made again on demand, as the rest of the test program needs it.
    Application().Handle();
}

TEST_F(FormDestruction, FreedFromItsOwnGraphEventHandler) {
    auto* form = new TListeningForm(nullptr, *component, log, "main");
    fakes::RecordingListener after("after");
    component->AddEventListener(&after);
    form->FreeOnComplete = true;
    form->Show();
    RunLoop();
    graph->QueueEvent(EC_COMPLETE, S_OK, 0);
    PumpMessages();
    // The handler finished on a whole form, the other listener heard the event, and only then
    // did the form go.
    EXPECT_EQ((Strings{"event 1 main", "handler done main", "OnDestroy main skinned", "WM_DESTROY main"}),
              log);
    EXPECT_EQ(1, after.graphCalls);
    component->RemoveEventListener(&after);
}

TEST_F(FormDestruction, FreedFromItsOwnSkinClickHandler) {
    auto* form = new TListeningForm(nullptr, *component, log, "main");
    form->FreeOnClick = true;
    form->Show();
    RunLoop();
    form->Skin().Click(form->Handle(), L"bnStop");
    RunLoop();
    EXPECT_EQ((Strings{"click main", "click handled main", "OnDestroy main skinned", "WM_DESTROY main"}),
              log);
}

} // namespace
