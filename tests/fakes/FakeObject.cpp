#include "fakes/FakeObject.h"

namespace fakes {

namespace {
int liveObjects = 0;
}

int LiveObjects() {
    return liveObjects;
}

std::vector<std::string>& Journal() {
    static std::vector<std::string> journal;
    return journal;
}

std::vector<std::string> JournalOf(std::initializer_list<const char*> prefixes) {
    std::vector<std::string> result;
    for (const std::string& entry : Journal())
        for (const char* prefix : prefixes)
            if (entry.rfind(prefix, 0) == 0) {
                result.push_back(entry);
                break;
            }
    return result;
}

std::string Narrow(const wchar_t* text) {
    std::string result;
    for (; text && *text; ++text)
        result += *text < 128 ? static_cast<char>(*text) : '?';
    return result;
}

FakeObject::FakeObject(std::string name) : name_(std::move(name)) {
    ++liveObjects;
}

FakeObject::~FakeObject() {
    --liveObjects;
}

ULONG FakeObject::ReleaseImpl() {
    ULONG refs = --refs_;
    if (refs == 0)
        delete this;
    return refs;
}

int FakeObject::Calls(const std::string& method) const {
    auto found = calls_.find(method);
    return found == calls_.end() ? 0 : found->second;
}

HRESULT FakeObject::Record(const std::string& method, const std::string& argument, HRESULT result) {
    ++calls_[method];
    Journal().push_back(name_ + "." + method + (argument.empty() ? "" : "(" + argument + ")"));
    return result;
}

HRESULT FakeObject::Answer(REFIID iid, void** out, std::initializer_list<Entry> entries) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (hidden_.count(iid))
        return E_NOINTERFACE;
    if (auto found = exposed_.find(iid); found != exposed_.end())
        return found->second->QueryInterface(iid, out);
    for (const Entry& entry : entries)
        if (IsEqualIID(entry.iid, iid)) {
            entry.object->AddRef();
            *out = entry.object;
            return S_OK;
        }
    return E_NOINTERFACE;
}

} // namespace fakes
