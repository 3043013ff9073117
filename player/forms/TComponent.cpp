#include "forms/TComponent.h"

#include "forms/LiveCounts.h"
#include "forms/TApplication.h"

#include <algorithm>
#include <cctype>

namespace vireon {

bool SameText(const std::string& A, const std::string& B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

TComponent::TComponent(TComponent* AOwner) {
    ++LiveCounts().Components;
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    if (FReleasePending)
        Application().CancelRelease(this);
    DestroyComponents();
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& list = other->FFreeNotifies;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        other->Notification(this, opRemove);
    }
    if (FOwner)
        FOwner->RemoveComponent(this);
    --LiveCounts().Components;
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
    if (AName.empty())
        return nullptr;
    for (TComponent* component : FComponents)
        if (SameText(component->FName, AName))
            return component;
    return nullptr;
}

TComponent* TComponent::FindComponentDeep(const std::string& AName) const {
    if (TComponent* found = FindComponent(AName))
        return found;
    for (TComponent* component : FComponents)
        if (TComponent* found = component->FindComponentDeep(AName))
            return found;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) {
        FComponents.erase(it);
        AComponent->FOwner = nullptr;
        Notification(AComponent, opRemove);
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(AComponent);
        AComponent->FFreeNotifies.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent)
        return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent),
                        FFreeNotifies.end());
    auto& list = AComponent->FFreeNotifies;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty())
        FreeComponent(FComponents.back());
}

void TComponent::Free() {
    FreeComponent(this);
}

void TComponent::Destroying() {
    if (FDestroying)
        return;
    FDestroying = true;
    BeforeDestruction();
}

void TComponent::BeforeDestruction() {
    DestroyComponents();
}

void FreeComponent(TComponent* AComponent) {
    if (!AComponent)
        return;
    AComponent->Destroying();
    delete AComponent;
}

} // namespace vireon
