// Reference counting and QueryInterface for the COM objects we implement ourselves. An object
// lists the interfaces it answers for; an entry ComChain<I, Base...> answers for I and for the
// interfaces I inherits (IBaseFilter answers for IMediaFilter and IPersist through one vtable).
#pragma once

#include <unknwn.h>
#include <wrl/client.h>

#include <atomic>
#include <utility>

namespace vireon {

template <typename Interface, typename... Inherited> struct ComChain {};

namespace com_detail {

template <typename Entry> struct ChainOf {
    using Head = Entry;
    static bool Answers(REFIID Iid) { return IsEqualIID(Iid, __uuidof(Entry)); }
};

template <typename Interface, typename... Inherited> struct ChainOf<ComChain<Interface, Inherited...>> {
    using Head = Interface;
    static bool Answers(REFIID Iid) {
        return IsEqualIID(Iid, __uuidof(Interface)) || (IsEqualIID(Iid, __uuidof(Inherited)) || ...);
    }
};

template <typename First, typename...> struct FirstOf {
    using Type = First;
};

} // namespace com_detail

// QueryInterface over a table of entries (interfaces or ComChains) that Object derives from.
// IUnknown is answered through the first entry, so every query for it gives the same pointer.
template <typename... Entries, typename Object> HRESULT QueryInterfaceTable(Object* Self, REFIID Iid, void** Out) {
    if (!Out)
        return E_POINTER;
    *Out = nullptr;
    using First = typename com_detail::ChainOf<typename com_detail::FirstOf<Entries...>::Type>::Head;
    IUnknown* Found = nullptr;
    if (IsEqualIID(Iid, __uuidof(IUnknown)))
        Found = static_cast<First*>(Self);
    else
        (void)((com_detail::ChainOf<Entries>::Answers(Iid) &&
                (Found = static_cast<typename com_detail::ChainOf<Entries>::Head*>(Self))) ||
               ...);
    if (!Found)
        return E_NOINTERFACE;
    Found->AddRef();
    *Out = Found;
    return S_OK;
}

// A COM object deriving from every listed interface. It is born holding one reference, which
// MakeComObject hands to its caller; the last Release deletes it through the virtual destructor.
template <typename... Entries> class TComObject : public com_detail::ChainOf<Entries>::Head... {
public:
    TComObject() = default;
    TComObject(const TComObject&) = delete;
    TComObject& operator=(const TComObject&) = delete;
    virtual ~TComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Out) override {
        return QueryInterfaceTable<Entries...>(this, Iid, Out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++References_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG Left = --References_;
        if (Left == 0)
            delete this;
        return Left;
    }

    // The current count, for tests that check that nothing keeps the object alive.
    ULONG ReferenceCount() const noexcept { return References_; }

private:
    std::atomic<ULONG> References_{1};
};

// Takes over the reference a raw interface pointer already carries (a new object, an
// out-parameter filled by the platform). mingw's ComPtr::Attach adds a reference of its own.
template <typename T> Microsoft::WRL::ComPtr<T> AdoptComPointer(T* Raw) noexcept {
    Microsoft::WRL::ComPtr<T> Owner;
    *Owner.GetAddressOf() = Raw;
    return Owner;
}

// Creates one of our objects, owned by the returned pointer alone.
template <typename T, typename... Args> Microsoft::WRL::ComPtr<T> MakeComObject(Args&&... args) {
    return AdoptComPointer(new T(std::forward<Args>(args)...));
}

} // namespace vireon
