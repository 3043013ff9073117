// Reference counting and QueryInterface for the engine's objects. Interfaces form single chains
// (ISkinButton : ISkinVisual : ISkinObject : IUnknown), so one vtable answers every listed IID.
#pragma once

#include <unknwn.h>

#include <atomic>

namespace vireon::skin {

template <typename Most, typename... Bases> class TComObject : public Most {
public:
    TComObject() = default;
    TComObject(const TComObject&) = delete;
    TComObject& operator=(const TComObject&) = delete;
    virtual ~TComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(Most) || ((riid == __uuidof(Bases)) || ...)) {
            *object = static_cast<Most*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<ULONG> refs_{0};
};

} // namespace vireon::skin
