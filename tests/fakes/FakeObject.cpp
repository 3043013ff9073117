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

FakeObject::FakeObject(std::string name) : name_(std::move(name)) {
    ++liveObjects;
}

FakeObject::~FakeObject() {
    --liveObjects;
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

bool FakeObject::Redirected(REFIID iid, void** out, HRESULT& result) {
    if (!out) {
        result = E_POINTER;
        return true;
    }
    *out = nullptr;
    if (hidden_.count(iid)) {
        result = E_NOINTERFACE;
        return true;
    }
    if (auto found = exposed_.find(iid); found != exposed_.end()) {
        result = found->second->QueryInterface(iid, out);
        return true;
    }
    return false;
}

} // namespace fakes
