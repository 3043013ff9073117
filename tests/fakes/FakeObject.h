// Base of the fake DirectShow objects: a reference count tests can read, a count of live fakes,
// and a journal of calls shared by every fake so that tests can check the order across objects.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

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

    ULONG Refs() const { return refs_; }
    int Calls(const std::string& method) const;
    const std::string& Name() const { return name_; }

    // Answer QueryInterface for this IID with E_NOINTERFACE, as objects lacking it do.
    void Hide(REFIID iid) { hidden_.insert(iid); }
    // Answer QueryInterface for this IID with another object.
    void Expose(REFIID iid, IUnknown* object) { exposed_[iid] = object; }

protected:
    explicit FakeObject(std::string name);
    virtual ~FakeObject();

    ULONG AddRefImpl() { return ++refs_; }
    ULONG ReleaseImpl();
    // Records a call in the object's counts and in the journal; returns the given result.
    HRESULT Record(const std::string& method, const std::string& argument = {}, HRESULT result = S_OK);

    struct Entry {
        IID iid;
        IUnknown* object;
    };
    HRESULT Answer(REFIID iid, void** out, std::initializer_list<Entry> entries);

    template <typename I, typename Self> static Entry Offer(Self* self) {
        return {__uuidof(I), static_cast<I*>(self)};
    }

private:
    struct IidLess {
        bool operator()(const IID& a, const IID& b) const { return memcmp(&a, &b, sizeof(IID)) < 0; }
    };
    std::string name_;
    ULONG refs_ = 1;
    std::map<std::string, int> calls_;
    std::set<IID, IidLess> hidden_;
    std::map<IID, Microsoft::WRL::ComPtr<IUnknown>, IidLess> exposed_;
};

// Creates a fake owned by the returned pointer (its only reference).
template <typename T, typename... Args> Microsoft::WRL::ComPtr<T> MakeFake(Args&&... args) {
    // Not ComPtr::Attach: the mingw version adds a reference.
    Microsoft::WRL::ComPtr<T> fake;
    *fake.GetAddressOf() = new T(std::forward<Args>(args)...);
    return fake;
}

std::string Narrow(const wchar_t* text);

} // namespace fakes
