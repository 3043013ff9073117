// Base of the fake DirectShow objects: a reference count tests can read, a count of live fakes,
// and a journal of calls shared by every fake so that tests can check the order across objects.
// A fake derives from Fake<interfaces...>, which counts references and answers QueryInterface
// with the project's COM object base.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include "common/ComObject.h"
#include "common/TextConversion.h"

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fakes {

// Fakes still alive; zero once every reference was released.
int LiveObjects();

// Calls of every fake in order, as "name.Method" or "name.Method(argument)".
std::vector<std::string>& Journal();
// The journal entries that start with one of the prefixes, in order.
std::vector<std::string> JournalOf(std::initializer_list<const char*> prefixes);

class FakeObject {
public:
    FakeObject(const FakeObject&) = delete;
    FakeObject& operator=(const FakeObject&) = delete;

    int Calls(const std::string& method) const;
    const std::string& Name() const { return name_; }

    // Answer QueryInterface for this IID with E_NOINTERFACE, as objects lacking it do.
    void Hide(REFIID iid) { hidden_.insert(iid); }
    // Answer QueryInterface for this IID with another object.
    void Expose(REFIID iid, IUnknown* object) { exposed_[iid] = object; }

protected:
    explicit FakeObject(std::string name);
    virtual ~FakeObject();

    // Records a call in the object's counts and in the journal; returns the given result.
    HRESULT Record(const std::string& method, const std::string& argument = {}, HRESULT result = S_OK);
    // A query the test redirected with Hide or Expose: true with its answer in result.
    bool Redirected(REFIID iid, void** out, HRESULT& result);

private:
    struct IidLess {
        bool operator()(const IID& a, const IID& b) const { return memcmp(&a, &b, sizeof(IID)) < 0; }
    };
    std::string name_;
    std::map<std::string, int> calls_;
    std::set<IID, IidLess> hidden_;
    std::map<IID, Microsoft::WRL::ComPtr<IUnknown>, IidLess> exposed_;
};

// A fake answering for the listed interfaces (plain, or ComChain<I, Inherited...>).
template <typename... Entries> class Fake : public vireon::TComObject<Entries...>, public FakeObject {
public:
    ULONG Refs() const { return this->ReferenceCount(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        HRESULT result = E_NOINTERFACE;
        if (Redirected(iid, out, result))
            return result;
        return vireon::TComObject<Entries...>::QueryInterface(iid, out);
    }

protected:
    explicit Fake(std::string name) : FakeObject(std::move(name)) {}
};

// Creates a fake owned by the returned pointer (its only reference).
template <typename T, typename... Args> Microsoft::WRL::ComPtr<T> MakeFake(Args&&... args) {
    return vireon::MakeComObject<T>(std::forward<Args>(args)...);
}

// The text for the journal; a null text reads as empty.
inline std::string Narrow(const wchar_t* text) {
    return vireon::Utf8FromWide(text ? text : L"");
}

} // namespace fakes
