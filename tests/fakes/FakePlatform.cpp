#include "fakes/FakePlatform.h"

namespace fakes {

ScopedFakePlatform::ScopedFakePlatform()
    : createInstance_(vireon::CreateInstanceSeam(),
                      [this](REFCLSID ClassId, REFIID Iid, void** Object) {
                          Entry* entry = Find(ClassId);
                          if (!entry)
                              return REGDB_E_CLASSNOTREG;
                          ++entry->creations;
                          return entry->object ? entry->object->QueryInterface(Iid, Object) : REGDB_E_CLASSNOTREG;
                      }),
      createOwnDvdBuilder_(vireon::CreateOwnDvdGraphBuilderSeam(), [this](IDvdGraphBuilder** Builder) {
          ++ownCreations_;
          *Builder = nullptr;
          return ownDvdBuilder_ ? ownDvdBuilder_.CopyTo(Builder) : E_NOTIMPL;
      }) {}

ScopedFakePlatform::Entry* ScopedFakePlatform::Find(REFCLSID ClassId) {
    for (Entry& entry : entries_)
        if (IsEqualCLSID(entry.classId, ClassId))
            return &entry;
    return nullptr;
}

void ScopedFakePlatform::Provide(REFCLSID ClassId, IUnknown* Object) {
    if (Entry* entry = Find(ClassId))
        entry->object = Object;
    else
        entries_.push_back({ClassId, Object, 0});
}

int ScopedFakePlatform::Creations(REFCLSID ClassId) const {
    for (const Entry& entry : entries_)
        if (IsEqualCLSID(entry.classId, ClassId))
            return entry.creations;
    return 0;
}

void ScopedFakePlatform::Clear() {
    for (Entry& entry : entries_)
        entry.object.Reset();
    ownDvdBuilder_.Reset();
}

} // namespace fakes
