// The event pump and the typed graph and DVD events, against a fake graph's event queue.

#include "support/FakeGraphFixture.h"

#include "engine/EDirectShowException.h"

#include "forms/TApplication.h"

#include <dvdevcod.h>
#include <evcode.h>
#include <vfwmsgs.h>

using Microsoft::WRL::ComPtr;
using namespace fakes;
using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

class GraphEventsTest : public FakeGraphTest {
protected:
    void SetUp() override {
        FakeGraphTest::SetUp();
        Application().OnException = [this](TObject*, const std::exception& error) {
            shown.push_back(error.what());
        };
    }
    void TearDown() override {
        Application().OnException = nullptr;
        FakeGraphTest::TearDown();
    }
    void Post(long code, LONG_PTR param1 = 0, LONG_PTR param2 = 0) {
        graph->QueueEvent(code, param1, param2);
    }

    Strings shown;
};

TEST_F(GraphEventsTest, PumpDrainsTheQueueWithTypedArguments) {
    component->SetActive(true);
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    Strings seen;
    component->OnDSEvent = [&](TComponent* sender, long code, LONG_PTR, LONG_PTR) {
        EXPECT_EQ(component.get(), sender);
        seen.push_back("ds " + std::to_string(code));
    };
    component->OnGraphVideoSizeChanged = [&](TObject* sender, int width, int height) {
        EXPECT_EQ(component.get(), sender);
        seen.push_back("size " + std::to_string(width) + "x" + std::to_string(height));
    };
    component->OnDVDPlaybackRateChange = [&](TObject*, float rate) {
        seen.push_back("rate " + std::to_string(rate));
    };
    component->OnDVDDomainFirstPlay = [&](TObject*) { seen.push_back("first play"); };
    component->OnDVDDomainStop = [&](TObject*) { seen.push_back("stop"); };
    component->OnGraphComplete = [&](TObject*, HRESULT result, IBaseFilter* renderer) {
        seen.push_back("complete " + std::to_string(result) + (renderer ? " renderer" : ""));
    };

    // The graph notifies once per event; the first message drains them all.
    Post(EC_VIDEO_SIZE_CHANGED, MAKELONG(720, 576));
    Post(EC_DVD_PLAYBACK_RATE_CHANGE, 20000);
    Post(EC_DVD_DOMAIN_CHANGE, 6); // no typed event for this domain
    Post(12345, 1, 2);             // unknown code: listeners and OnDSEvent only
    Post(EC_COMPLETE, S_OK, 0);
    PumpMessages();

    EXPECT_EQ((Strings{"ds 10", "size 720x576", "ds 272", "rate 2.000000", "ds 257", "ds 12345", "ds 1",
                       "complete 0"}),
              seen);
    EXPECT_EQ(5, listener.graphCalls);
    EXPECT_EQ(0u, graph->PendingEvents());
    EXPECT_EQ(5, graph->Calls("FreeEventParams"));
    EXPECT_EQ(5 + 5, graph->Calls("GetEvent")); // five events, then an empty answer per notification
    EXPECT_TRUE(shown.empty());
    component->RemoveEventListener(&listener);
}

TEST_F(GraphEventsTest, ListenersHearEventsBeforeTheTypedHandler) {
    component->SetActive(true);
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    component->OnDSEvent = [](TComponent*, long, LONG_PTR, LONG_PTR) { Journal().push_back("OnDSEvent"); };
    component->OnDVDTitleChange = [](TObject*, int title) {
        Journal().push_back("title " + std::to_string(title));
    };
    component->DispatchGraphEvent(EC_DVD_TITLE_CHANGE, 3, 0);
    EXPECT_EQ((Strings{"listener:main.Graph(258)", "OnDSEvent", "title 3"}),
              Journaled({"listener:", "OnDSEvent", "title"}));
    component->RemoveEventListener(&listener);
}

TEST_F(GraphEventsTest, DomainErrorAndWarningCodes) {
    Strings seen;
    auto note = [&](const char* what) { return [&seen, what](TObject*) { seen.push_back(what); }; };
    component->OnDVDDomainFirstPlay = note("first play");
    component->OnDVDDomainVideoManagerMenu = note("vmg menu");
    component->OnDVDDomainVideoTitleSetMenu = note("vts menu");
    component->OnDVDDomainTitle = note("title");
    component->OnDVDDomainStop = note("stop");
    component->OnDVDErrorUnexpected = note("unexpected");
    component->OnDVDErrorIncompatibleDiscAndDecoderRegions = note("regions");
    component->OnDVDWarningRead = note("read");
    for (LONG_PTR domain = 0; domain <= 6; ++domain)
        component->DispatchGraphEvent(EC_DVD_DOMAIN_CHANGE, domain, 0);
    component->DispatchGraphEvent(EC_DVD_ERROR, 2, 0); // copy protection: nothing typed
    component->DispatchGraphEvent(EC_DVD_ERROR, 1, 0);
    component->DispatchGraphEvent(EC_DVD_ERROR, 8, 0);
    component->DispatchGraphEvent(EC_DVD_WARNING, 6, 0);
    EXPECT_EQ(
        (Strings{"first play", "vmg menu", "vts menu", "title", "stop", "unexpected", "regions", "read"}),
        seen);
}

TEST_F(GraphEventsTest, TheStopDomainReachesListenersAsAStop) {
    component->SetActive(true);
    RecordingListener listener("main");
    component->AddEventListener(&listener);
    std::vector<TGraphControlEvent> controls;
    listener.onControl = [&](TGraphControlEvent event, int) { controls.push_back(event); };
    Strings seen;
    component->OnDVDDomainStop = [&](TObject*) {
        seen.push_back("stop after " + std::to_string(controls.size()) + " control event");
    };
    component->DispatchGraphEvent(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Title, 0);
    EXPECT_TRUE(controls.empty());
    component->DispatchGraphEvent(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Stop, 0);
    EXPECT_EQ(std::vector<TGraphControlEvent>{gcStop}, controls);
    EXPECT_EQ(Strings{"stop after 1 control event"}, seen);
    EXPECT_EQ(0, graph->Calls("Stop")); // the navigator stopped the graph: no second stop
    component->RemoveEventListener(&listener);
}

TEST_F(GraphEventsTest, CurrentTimeDecodesThePlatformTimecode) {
    std::vector<int> values;
    component->OnDVDCurrentTime = [&](TObject*, int hours, int minutes, int seconds, int frames, int frate) {
        values = {hours, minutes, seconds, frames, frate};
    };
    component->DispatchGraphEvent(EC_DVD_CURRENT_TIME, static_cast<LONG_PTR>(PackDvdTimecode(1, 2, 5, 0, 1)),
                                  0);
    EXPECT_EQ((std::vector<int>{1, 2, 5, 0, 25}), values);
    component->DispatchGraphEvent(EC_DVD_CURRENT_TIME, static_cast<LONG_PTR>(PackDvdTimecode(1, 2, 5, 29, 3)),
                                  0);
    EXPECT_EQ((std::vector<int>{1, 2, 5, 29, 30}), values);
    component->DispatchGraphEvent(EC_DVD_CURRENT_TIME, static_cast<LONG_PTR>(PackDvdTimecode(0, 0, 10, 0, 1)),
                                  0);
    EXPECT_EQ((std::vector<int>{0, 0, 10, 0, 25}), values);
    component->DispatchGraphEvent(EC_DVD_CURRENT_TIME,
                                  static_cast<LONG_PTR>(PackDvdTimecode(23, 59, 59, 24, 2)), 0);
    EXPECT_EQ((std::vector<int>{23, 59, 59, 24, 0}), values); // rate code 2 names no rate
}

TEST_F(GraphEventsTest, HmsfTimeKeepsTheFourBytes) {
    DVD_HMSF_TIMECODE time{};
    TDVDTimeCode code;
    component->OnDVDCurrentHMSFTime = [&](TObject*, DVD_HMSF_TIMECODE hmsf, TDVDTimeCode unpacked) {
        time = hmsf;
        code = unpacked;
    };
    DVD_HMSF_TIMECODE sent{1, 23, 45, 12};
    LONG_PTR packed = 0;
    memcpy(&packed, &sent, sizeof sent);
    component->DispatchGraphEvent(EC_DVD_CURRENT_HMSF_TIME, packed, DVD_TC_FLAG_25fps);
    EXPECT_EQ(1, time.bHours);
    EXPECT_EQ(23, time.bMinutes);
    EXPECT_EQ(45, time.bSeconds);
    EXPECT_EQ(12, time.bFrames);
    // The platform passes its time-code flags here; read as a DVD_TIMECODE they fill the lowest field.
    EXPECT_EQ(DVD_TC_FLAG_25fps, code.d0);
    EXPECT_EQ(0, code.FrameRateCode);
}

TEST_F(GraphEventsTest, ArgumentsOfTheOtherTypedEvents) {
    Strings seen;
    component->OnGraphOpeningFile = [&](TObject*, bool opening) {
        seen.push_back(opening ? "opening" : "opened");
    };
    component->OnGraphDeviceLost = [&](TObject*, IUnknown*, bool removed) {
        seen.push_back(removed ? "gone" : "back");
    };
    component->OnGraphEndOfSegment = [&](TObject*, REFERENCE_TIME time, LONG_PTR segment) {
        seen.push_back(std::to_string(time) + "/" + std::to_string(segment));
    };
    component->OnGraphOleEvent = [&](TObject*, const std::wstring& a, const std::wstring& b) {
        seen.push_back(Narrow(a.c_str()) + "=" + Narrow(b.c_str()));
    };
    component->OnDVDStillOn = [&](TObject*, bool noButton, int seconds) {
        seen.push_back(std::string(noButton ? "still" : "menu") + std::to_string(seconds));
    };
    component->OnDVDButtonChange = [&](TObject*, int total, int current) {
        seen.push_back(std::to_string(current) + "of" + std::to_string(total));
    };
    component->OnDVDKaraokeMode = [&](TObject*, bool played) {
        seen.push_back(played ? "karaoke" : "plain");
    };
    component->OnGraphSNDDevOutError = [&](TObject*, LONG_PTR when, LONG_PTR code) {
        seen.push_back("snd " + std::to_string(when) + "," + std::to_string(code));
    };
    REFERENCE_TIME segmentTime = 90000000;
    BSTR name = SysAllocString(L"Title"), value = SysAllocString(L"Clip");
    component->DispatchGraphEvent(EC_OPENING_FILE, 1, 0);
    component->DispatchGraphEvent(EC_DEVICE_LOST, 0, 1);
    component->DispatchGraphEvent(EC_END_OF_SEGMENT, reinterpret_cast<LONG_PTR>(&segmentTime), 4);
    component->DispatchGraphEvent(EC_OLE_EVENT, reinterpret_cast<LONG_PTR>(name),
                                  reinterpret_cast<LONG_PTR>(value));
    component->DispatchGraphEvent(EC_DVD_STILL_ON, 1, 10);
    component->DispatchGraphEvent(EC_DVD_BUTTON_CHANGE, 5, 2);
    component->DispatchGraphEvent(EC_DVD_KARAOKE_MODE, 2, 0);
    component->DispatchGraphEvent(513, 3, 7);
    SysFreeString(name);
    SysFreeString(value);
    EXPECT_EQ(
        (Strings{"opening", "gone", "90000000/4", "Title=Clip", "still10", "2of5", "karaoke", "snd 3,7"}),
        seen);
}

TEST_F(GraphEventsTest, StreamLanguageFromTheNavigator) {
    component->SetMode(gmDVD);
    component->SetActive(true);
    dvdBuilder->info->audioLanguages[1] = MAKELCID(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), SORT_DEFAULT);
    dvdBuilder->info->subpictureLanguages[0] =
        MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

    // Without a handler the navigator is not asked.
    component->DispatchGraphEvent(EC_DVD_AUDIO_STREAM_CHANGE, 1, 0);
    EXPECT_EQ(0, dvdBuilder->info->Calls("GetAudioLanguage"));

    std::string audio, subtitle;
    component->OnDVDAudioStreamChange = [&](TObject*, int stream, LCID lcid, const std::string& lang) {
        audio =
            std::to_string(stream) + " " + std::to_string(PRIMARYLANGID(LANGIDFROMLCID(lcid))) + " " + lang;
    };
    component->OnDVDSubpictureStreamChange = [&](TObject*, int stream, LCID, const std::string& lang) {
        subtitle = std::to_string(stream) + " " + lang;
    };
    component->DispatchGraphEvent(EC_DVD_AUDIO_STREAM_CHANGE, 1, 0);
    component->DispatchGraphEvent(EC_DVD_SUBPICTURE_STREAM_CHANGE, 0, 0);
    EXPECT_EQ("1 " + std::to_string(LANG_FRENCH) + " French", audio);
    EXPECT_EQ("0 English", subtitle);
    EXPECT_EQ(1u, dvdBuilder->info->Refs()); // the builder's only: the component keeps none
}

TEST_F(GraphEventsTest, FailedLanguageQueryIsShownAndTheEventNotRaised) {
    component->SetMode(gmDVD);
    component->SetActive(true);
    dvdBuilder->info->languageResult = VFW_E_DVD_INVALIDDOMAIN;
    bool raised = false;
    component->OnDVDAudioStreamChange = [&](TObject*, int, LCID, const std::string&) { raised = true; };
    component->OnDVDTitleChange = [&](TObject*, int) { Journal().push_back("title"); };
    Post(EC_DVD_AUDIO_STREAM_CHANGE, 0);
    Post(EC_DVD_TITLE_CHANGE, 2);
    PumpMessages();
    EXPECT_FALSE(raised);
    ASSERT_EQ(1u, shown.size());
    EXPECT_NE(std::string::npos, shown[0].find("($80040277)."));
    // The title change waited for the next notification, which the graph had posted too.
    EXPECT_EQ(Strings{"title"}, Journaled({"title"}));
    EXPECT_EQ(2, graph->Calls("FreeEventParams"));
}

TEST_F(GraphEventsTest, HandlerExceptionShownAndRestFetchedOnNextNotification) {
    component->SetActive(true);
    component->OnDVDChapterStart = [](TObject*, int chapter) {
        if (chapter == 2)
            throw std::runtime_error("chapter handler failed");
        Journal().push_back("chapter " + std::to_string(chapter));
    };
    Post(EC_DVD_CHAPTER_START, 1);
    Post(EC_DVD_CHAPTER_START, 2);
    Post(EC_DVD_CHAPTER_START, 3);

    // Only one notification handled: the queue stops at the failing event.
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, component->NotifyWindow(), 0, 0, PM_REMOVE));
    DispatchMessageW(&message);
    EXPECT_EQ(Strings{"chapter handler failed"}, shown);
    EXPECT_EQ(Strings{"chapter 1"}, Journaled({"chapter"}));
    EXPECT_EQ(1u, graph->PendingEvents());

    PumpMessages();
    EXPECT_EQ((Strings{"chapter 1", "chapter 3"}), Journaled({"chapter"}));
    EXPECT_EQ(3, graph->Calls("FreeEventParams")); // also for the event whose handler failed
}

TEST_F(GraphEventsTest, HandlerMayDeactivateTheGraph) {
    component->SetActive(true);
    component->OnGraphComplete = [&](TObject*, HRESULT, IBaseFilter*) { component->SetActive(false); };
    Post(EC_COMPLETE);
    Post(EC_COMPLETE);
    PumpMessages();
    EXPECT_FALSE(component->Active());
    EXPECT_EQ(1u, graph->PendingEvents());
    EXPECT_EQ(1, graph->Calls("FreeEventParams"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(GraphEventsTest, NoNotificationsAfterDeactivation) {
    component->SetActive(true);
    component->SetActive(false);
    EXPECT_EQ(1, graph->NotifyFlags());
    Post(EC_COMPLETE);
    component->ProcessGraphEvents(); // no media event interface any more
    EXPECT_EQ(1u, graph->PendingEvents());
}

} // namespace
