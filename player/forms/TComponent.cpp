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
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) {
        FComponents.erase(it);
        AComponent->FOwner = nullptr;
    }
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty())
        delete FComponents.back();
}

void TComponent::Free() {
    delete this;
}

} // namespace vireon
