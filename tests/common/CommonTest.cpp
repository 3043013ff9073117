// The ground layer's helpers: the COM object base, text conversion, seams and owners.
#include "common/ComObject.h"
#include "common/LateBound.h"
#include "common/Seam.h"
#include "common/TextConversion.h"
#include "common/Win32Handles.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <ocidl.h>

#include <string>

using Microsoft::WRL::ComPtr;
using namespace vireon;

namespace {

int liveProbes = 0;

// IPersistStream inherits IPersist: one chain; IOleWindow is a second, unrelated vtable.
class TProbe final : public TComObject<ComChain<IPersistStream, IPersist>, IOleWindow> {
public:
    TProbe() { ++liveProbes; }
    ~TProbe() override { --liveProbes; }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* Class) override {
        *Class = CLSID_NULL;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* Window) override {
        *Window = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
};

ComPtr<IUnknown> IdentityOf(IUnknown* Object) {
    ComPtr<IUnknown> Identity;
    EXPECT_EQ(Object->QueryInterface(IID_PPV_ARGS(&Identity)), S_OK);
    return Identity;
}

} // namespace

TEST(ComObject, AnswersItsTableWithOneIdentityAndCountsReferences) {
    {
        ComPtr<TProbe> Probe = MakeComObject<TProbe>();
        EXPECT_EQ(Probe->ReferenceCount(), 1u);
        ComPtr<IPersist> Persist;
        ComPtr<IPersistStream> Stream;
        ComPtr<IOleWindow> Window;
        ASSERT_EQ(Probe.As(&Persist), S_OK);
        ASSERT_EQ(Probe.As(&Stream), S_OK);
        ASSERT_EQ(Probe.As(&Window), S_OK);
        EXPECT_EQ(static_cast<void*>(Persist.Get()), static_cast<void*>(Stream.Get()));
        EXPECT_NE(static_cast<void*>(Window.Get()), static_cast<void*>(Stream.Get()));
        EXPECT_EQ(Probe->ReferenceCount(), 4u);

        // Every interface leads back to the same IUnknown.
        EXPECT_EQ(IdentityOf(Window.Get()), IdentityOf(Stream.Get()));

        int Sentinel = 0;
        void* Missing = &Sentinel;
        EXPECT_EQ(Probe->QueryInterface(IID_IStream, &Missing), E_NOINTERFACE);
        EXPECT_EQ(Missing, nullptr);
        EXPECT_EQ(Probe->QueryInterface(IID_IPersist, nullptr), E_POINTER);
        EXPECT_EQ(Probe->ReferenceCount(), 4u);

        HWND Answer = HWND(1);
        EXPECT_EQ(Window->GetWindow(&Answer), S_OK);
        EXPECT_EQ(Answer, nullptr);
    }
    EXPECT_EQ(liveProbes, 0);
}

TEST(ComObject, AdoptTakesOverTheReferenceWithoutAddingOne) {
    TProbe* Raw = new TProbe;
    {
        ComPtr<TProbe> Owner = AdoptComPointer(Raw);
        EXPECT_EQ(Raw->ReferenceCount(), 1u);
        ComPtr<TProbe> Nothing = AdoptComPointer<TProbe>(nullptr);
        EXPECT_FALSE(Nothing);
    }
    EXPECT_EQ(liveProbes, 0);
}

TEST(TextConversion, RoundTripsAndSurvivesBadInput) {
    const std::wstring Accented = L"clip \u00e9t\u00e9 \u65e5\u672c.avi";
    EXPECT_EQ(WideFromUtf8(Utf8FromWide(Accented)), Accented);
    EXPECT_EQ(Utf8FromWide(L"\u00e9"), "\xc3\xa9");
    EXPECT_EQ(WideFromUtf8("\xc3\xa9t\xc3\xa9"), L"\u00e9t\u00e9");
    EXPECT_EQ(WideFromAnsi("Menu"), L"Menu");
    EXPECT_EQ(AnsiFromWide(L"Menu"), "Menu");
    EXPECT_EQ(WideFromAnsi(""), L"");
    EXPECT_EQ(Utf8FromWide(L""), "");

    // Embedded NULs are part of the text, not its end.
    const std::string WithNul("a\0b", 3);
    EXPECT_EQ(WideFromUtf8(WithNul), std::wstring(L"a\0b", 3));

    // A broken UTF-8 sequence still gives a text, not an exception or a truncation to nothing.
    const std::wstring Broken = WideFromUtf8("ok\xc3");
    ASSERT_GE(Broken.size(), 2u);
    EXPECT_EQ(Broken.substr(0, 2), L"ok");
}

TEST(Seam, ScopedReplacementRestoresThePreviousOneAndCallSeamFallsBack) {
    TSeam<int(int)> Slot;
    auto Platform = [](int Value) { return Value + 1; };
    EXPECT_EQ(CallSeam(Slot, Platform, 1), 2);
    {
        TScopedSeam Outer(Slot, [](int Value) { return Value * 10; });
        EXPECT_EQ(CallSeam(Slot, Platform, 2), 20);
        {
            TScopedSeam Inner(Slot, [](int Value) { return -Value; });
            EXPECT_EQ(CallSeam(Slot, Platform, 3), -3);
        }
        EXPECT_EQ(CallSeam(Slot, Platform, 4), 40);
    }
    EXPECT_FALSE(Slot);

    // A replacement that empties its own slot while it runs still finishes.
    Slot = [&Slot](int Value) {
        Slot = nullptr;
        return Value + 100;
    };
    EXPECT_EQ(CallSeam(Slot, Platform, 5), 105);
    EXPECT_EQ(CallSeam(Slot, Platform, 5), 6);
}

TEST(Win32Handles, LocalMemoryOwnerMovesAndFrees) {
    UniqueLocalMemory Owner(LocalAlloc(LMEM_FIXED, 16));
    ASSERT_TRUE(Owner);
    HLOCAL Handle = Owner.get();
    UniqueLocalMemory Moved(std::move(Owner));
    EXPECT_FALSE(Owner);
    EXPECT_EQ(Moved.get(), Handle);
    Moved.reset();
    EXPECT_FALSE(Moved);
}

TEST(LateBound, LoadsItsLibraryWhenMadeAndFallsBackWhenSomethingIsMissing) {
    // Nothing of this program loads the dialog library by itself.
    ASSERT_EQ(nullptr, GetModuleHandleA("comdlg32.dll"));
    {
        const TLateBound<decltype(CommDlgExtendedError)> lastError("comdlg32.dll", "CommDlgExtendedError");
        EXPECT_NE(nullptr, GetModuleHandleA("comdlg32.dll"));
        ASSERT_TRUE(lastError);
        EXPECT_EQ(0u, lastError());
    }
    EXPECT_EQ(nullptr, GetModuleHandleA("comdlg32.dll")) << "let go of with the last user";

    const TLateBound<decltype(GetTickCount)> ticks("kernel32.dll", "GetTickCount");
    ASSERT_TRUE(ticks);
    EXPECT_NE(0u, ticks());
    EXPECT_FALSE((TLateBound<decltype(GetTickCount)>("kernel32.dll", "NoSuchFunction")));
    EXPECT_FALSE((TLateBound<decltype(GetTickCount)>("no-such-library.dll", "GetTickCount")));
}
