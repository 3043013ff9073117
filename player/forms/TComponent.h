// Components: named, tagged objects in an ownership tree. An owner frees what it owns, in reverse
// order of creation.
#pragma once

#include "forms/Events.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vireon {

enum TOperation { opInsert, opRemove };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t Value) { FTag = Value; }
    TComponent* Owner() const { return FOwner; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(Index); }
    // The owned component of that name, compared without regard to case; nullptr when none.
    TComponent* FindComponent(const std::string& AName) const;
    // The same search through the whole ownership tree below this component.
    TComponent* FindComponentDeep(const std::string& AName) const;

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees the owned components, last created first.
    void DestroyComponents();

    // Asks to be told (Notification with opRemove) when AComponent goes, and tells AComponent the
    // same about this one; how references to components that are not owned stay valid.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Frees the component. Windowed components asked to go while one of the framework's window
    // procedures runs are freed when it returns (see TApplication::ReleaseComponent).
    virtual void Free();

    // The destruction phase: runs BeforeDestruction once, while the most derived object is still
    // whole. Free, an owner freeing its components and the application's deferred release call it
    // before the destructor; a plain delete only gets what the base destructors undo themselves.
    void Destroying();
    bool InDestruction() const { return FDestroying; }

protected:
    // What must happen while the whole object still exists (events raised, windows destroyed,
    // owned components freed). Overrides call their base's last.
    virtual void BeforeDestruction();

    // Told when a component this one owns is inserted or removed, or one it asked about goes.
    virtual void Notification(TComponent* /*AComponent*/, TOperation /*Operation*/) {}

private:
    friend class TApplication;
    std::vector<TComponent*> FFreeNotifies;
    bool FReleasePending = false;
    bool FDestroying = false;
    std::string FName;
    intptr_t FTag = 0;
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
};

bool SameText(const std::string& A, const std::string& B);

// Runs the component's destruction phase, then deletes it.
void FreeComponent(TComponent* AComponent);

} // namespace vireon
