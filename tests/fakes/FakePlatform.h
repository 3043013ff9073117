// Fills the engine's creation seams for a test's lifetime: each class identifier
// answers with the object a test provides; everything else is "class not registered".
#pragma once

#include "fakes/FakeObject.h"

#include "engine/PlatformObjects.h"

namespace fakes {

class ScopedFakePlatform {
public:
    ScopedFakePlatform();
    ScopedFakePlatform(const ScopedFakePlatform&) = delete;
    ScopedFakePlatform& operator=(const ScopedFakePlatform&) = delete;

    // The next creations of ClassId answer with Object (the same object every time).
    void Provide(REFCLSID ClassId, IUnknown* Object);
    // Our own DVD builder (none: creation fails with E_NOTIMPL).
    void ProvideOwnDvdBuilder(IDvdGraphBuilder* Builder) { ownDvdBuilder_ = Builder; }
    int Creations(REFCLSID ClassId) const;
    int OwnDvdBuilderCreations() const { return ownCreations_; }
    // Drops the references the factory holds, so tests can check that nothing else holds any.
    void Clear();

private:
    struct Entry {
        CLSID classId;
        Microsoft::WRL::ComPtr<IUnknown> object;
        int creations = 0;
    };
    Entry* Find(REFCLSID ClassId);
    std::vector<Entry> entries_;
    Microsoft::WRL::ComPtr<IDvdGraphBuilder> ownDvdBuilder_;
    int ownCreations_ = 0;
    // Last, so that the platform is back before the fakes go.
    vireon::TScopedSeam<vireon::TCreateInstanceSeam> createInstance_;
    vireon::TScopedSeam<vireon::TCreateOwnDvdGraphBuilderSeam> createOwnDvdBuilder_;
};

} // namespace fakes
