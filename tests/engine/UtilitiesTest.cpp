// Graph utilities: error texts and exceptions, DVD time codes, rectangle fit, filter and pin lists.

#include "engine/EDirectShowException.h"
#include "engine/GraphUtil.h"
#include "engine/TFilterList.h"
#include "engine/TPinList.h"

#include "fakes/FakeDvd.h"
#include "fakes/FakeFilterGraph.h"

#include "common/DirectShowUuids.h"

#include <gtest/gtest.h>

#include <vfwmsgs.h>

#include <set>

using Microsoft::WRL::ComPtr;
using namespace fakes;
using namespace vireon;

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(CheckMediaResult, PassesSuccessCodes) {
    EXPECT_EQ(S_OK, CheckMediaResult(S_OK));
    EXPECT_EQ(S_FALSE, CheckMediaResult(S_FALSE));
    EXPECT_EQ(VFW_S_PARTIAL_RENDER, CheckMediaResult(VFW_S_PARTIAL_RENDER));
}

TEST(CheckMediaResult, RaisesWithCodeAndHexSuffix) {
    try {
        CheckMediaResult(VFW_E_DVD_RENDERFAIL);
        FAIL() << "no exception";
    } catch (const EDirectShowException& error) {
        EXPECT_EQ(VFW_E_DVD_RENDERFAIL, error.ErrorCode());
        std::string message = error.what();
        EXPECT_TRUE(EndsWith(message, " ($8004027A).")) << message;
        EXPECT_EQ(MediaErrorText(VFW_E_DVD_RENDERFAIL) + " ($8004027A).", message);
    }
}

TEST(MediaErrorText, ReadableForCodesThePlayerMeets) {
    // Wine only offers "Error: 0x..."; our table or the system's must speak instead.
    for (HRESULT code :
         {VFW_E_DVD_RENDERFAIL, VFW_E_DVD_DECNOTENOUGH, VFW_E_DVD_OPERATION_INHIBITED,
          VFW_E_DVD_INVALIDDOMAIN, VFW_E_CANNOT_RENDER, VFW_E_NOT_FOUND, VFW_E_UNKNOWN_FILE_TYPE, E_FAIL,
          E_INVALIDARG, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)}) {
        SCOPED_TRACE(code);
        std::string text = MediaErrorText(code);
        EXPECT_GT(text.size(), 10u);
        EXPECT_NE(0u, text.rfind("Error: 0x", 0));
        EXPECT_EQ(std::string::npos, text.find('\n'));
    }
}

TEST(MediaErrorText, UnknownCodeStillNamesTheCode) {
    std::string text = MediaErrorText(static_cast<HRESULT>(0x8004FFFE));
    EXPECT_FALSE(text.empty());
}

TEST(UnpackDvdTimecode, ReadsThePlatformBitFieldsUnitsFirst) {
    TDVDTimeCode code = UnpackDvdTimecode(PackDvdTimecode(12, 34, 56, 27, 3));
    EXPECT_EQ(2, code.d0);
    EXPECT_EQ(1, code.d1);
    EXPECT_EQ(4, code.d2);
    EXPECT_EQ(3, code.d3);
    EXPECT_EQ(6, code.d4);
    EXPECT_EQ(5, code.d5);
    EXPECT_EQ(7, code.d6);
    EXPECT_EQ(2, code.d7);
    EXPECT_EQ(3, code.FrameRateCode);

    TDVDTimeCode top = UnpackDvdTimecode(0xFFFFFFFF);
    EXPECT_EQ(15, top.d0);
    EXPECT_EQ(3, top.d7);
    EXPECT_EQ(3, top.FrameRateCode);
    TDVDTimeCode zero = UnpackDvdTimecode(0);
    EXPECT_EQ(0, zero.d0 + zero.d7 + zero.FrameRateCode);
}

void ExpectRect(const RECT& rect, int left, int top, int width, int height) {
    EXPECT_EQ(left, rect.left);
    EXPECT_EQ(top, rect.top);
    EXPECT_EQ(width, rect.right - rect.left);
    EXPECT_EQ(height, rect.bottom - rect.top);
}

TEST(FitRectKeepingAspect, HeightLimitsWideTarget) {
    RECT result;
    FitRectKeepingAspect({0, 0, 1000, 500}, {0, 0, 640, 480}, result);
    ExpectRect(result, 166, 0, 667, 500);
}

TEST(FitRectKeepingAspect, WidthLimitsTallTargetAndKeepsOffset) {
    RECT result;
    FitRectKeepingAspect({10, 20, 410, 1020}, {0, 0, 160, 90}, result);
    ExpectRect(result, 10, 20 + (1000 - 225) / 2, 400, 225);
}

TEST(FitRectKeepingAspect, EmptySourceFillsTarget) {
    RECT result;
    FitRectKeepingAspect({5, 5, 105, 55}, {0, 0, 0, 0}, result);
    ExpectRect(result, 5, 5, 100, 50);
}

TEST(FilterList, SnapshotInEnumerationOrder) {
    auto graph = MakeFake<FakeFilterGraph>();
    auto first = MakeFake<FakeFilter>(L"first", 1, 1);
    auto second = MakeFake<FakeFilter>(L"second");
    graph->AddFilter(first.Get(), L"first");
    graph->AddFilter(second.Get(), L"second");
    {
        TFilterList list(graph.Get());
        ASSERT_EQ(2, list.Count());
        EXPECT_EQ(first.Get(), list.GetFilter(0));
        EXPECT_EQ(second.Get(), list.GetFilter(1));

        // Later graph changes are not reflected.
        graph->RemoveFilter(first.Get());
        EXPECT_EQ(2, list.Count());

        FILTER_INFO info{};
        ASSERT_HRESULT_SUCCEEDED(list.GetFilterInfo(1, info));
        EXPECT_STREQ(L"second", info.achName);
        EXPECT_EQ(3u, graph->Refs()); // ours, the list's, the info's
        // Asking again releases the graph reference the record held.
        ASSERT_HRESULT_SUCCEEDED(list.GetFilterInfo(1, info));
        EXPECT_EQ(3u, graph->Refs());
        info.pGraph->Release();
        info.pGraph = nullptr;

        EXPECT_EQ(0, list.Remove(first.Get()));
        EXPECT_EQ(-1, list.Remove(first.Get()));
        EXPECT_EQ(1, list.Add(first.Get()));
    }
    EXPECT_EQ(1u, graph->Refs());
    EXPECT_EQ(1u, first->Refs());
    EXPECT_EQ(2u, second->Refs()); // ours and the graph's
}

TEST(PinList, RefreshFollowsTheFilter) {
    auto filter = MakeFake<FakeFilter>(L"filter", 1, 2);
    TPinList pins(filter.Get());
    ASSERT_EQ(3, pins.Count());
    EXPECT_EQ(static_cast<IPin*>(filter->GetPin(2)), pins.GetPin(2));
    filter->RemovePin(0);
    EXPECT_EQ(3, pins.Count());
    pins.Refresh();
    ASSERT_EQ(2, pins.Count());
    EXPECT_EQ(static_cast<IPin*>(filter->GetPin(0)), pins.GetPin(0));
    EXPECT_EQ(2u, filter->Refs()); // ours and the list's
}

// A filter's driver dialogs: the capture kind (HasDialog) and the compressor kind (query by ShowDialog).
class FakeVfwDialogs : public Fake<IAMVfwCaptureDialogs, IAMVfwCompressDialogs> {
public:
    FakeVfwDialogs() : Fake("dialogs") {}
    std::set<int> capture, compress; // the dialogs each kind offers

    STDMETHODIMP HasDialog(int dialog) override {
        return Record("HasDialog", std::to_string(dialog), capture.count(dialog) ? S_OK : E_NOTIMPL);
    }
    STDMETHODIMP ShowDialog(int dialog, HWND window) override {
        HRESULT result = window || compress.count(dialog) ? S_OK : E_NOTIMPL;
        return Record(window ? "ShowDialog" : "QueryDialog", std::to_string(dialog), result);
    }
    STDMETHODIMP SendDriverMessage(int, int, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetState(LPVOID, int*) override { return E_NOTIMPL; }
    STDMETHODIMP SetState(LPVOID, int) override { return E_NOTIMPL; }
    STDMETHODIMP SendDriverMessage(int, LONG, LONG) override { return E_NOTIMPL; }
};

TEST(ShowFilterProperties, DriverDialogsByKind) {
    HWND parent = GetDesktopWindow();
    EXPECT_EQ(S_FALSE, ShowFilterProperties(parent, nullptr, 0));

    auto dialogs = MakeFake<FakeVfwDialogs>();
    IUnknown* filter = static_cast<IAMVfwCaptureDialogs*>(dialogs.Get());
    dialogs->capture = {VfwCaptureDialog_Display};
    dialogs->compress = {VfwCompressDialog_QueryAbout};
    Journal().clear();
    EXPECT_EQ(S_OK, ShowFilterProperties(parent, filter, 1));
    EXPECT_EQ(E_NOTIMPL, ShowFilterProperties(parent, filter, 2)); // no format dialog: not shown
    EXPECT_EQ(E_NOTIMPL, ShowFilterProperties(parent, filter, 4)); // configuration query fails
    EXPECT_EQ(S_OK, ShowFilterProperties(parent, filter, 5));
    EXPECT_EQ((std::vector<std::string>{"dialogs.HasDialog(4)", "dialogs.ShowDialog(4)",
                                        "dialogs.HasDialog(2)", "dialogs.QueryDialog(4)",
                                        "dialogs.QueryDialog(8)", "dialogs.ShowDialog(2)"}),
              Journal());
    // No property pages on this filter: the first step's failure is returned.
    EXPECT_EQ(E_NOINTERFACE, ShowFilterProperties(parent, filter, 0));
    EXPECT_EQ(1u, dialogs->Refs());
}

TEST(PinList, EmptyFilterGivesEmptyList) {
    TPinList pins(nullptr);
    EXPECT_EQ(0, pins.Count());
}

} // namespace
