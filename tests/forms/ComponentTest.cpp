#include "forms/LiveCounts.h"
#include "forms/TComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vireon;

namespace {

// Records the order in which components go: their destruction phase, then their destructor.
class TTracked : public TComponent {
public:
    TTracked(TComponent* AOwner, std::string AName, std::vector<std::string>& ALog)
        : TComponent(AOwner), FLog(ALog) {
        SetName(std::move(AName));
    }
    ~TTracked() override { FLog.push_back(Name()); }

protected:
    void BeforeDestruction() override {
        FLog.push_back("phase " + Name());
        TComponent::BeforeDestruction();
    }

private:
    std::vector<std::string>& FLog;
};

} // namespace

TEST(Component, OwnerFreesOwnedInReverseOrderOfCreation) {
    int before = LiveCounts().Components;
    std::vector<std::string> log;
    auto* root = new TTracked(nullptr, "root", log);
    auto* a = new TTracked(root, "a", log);
    new TTracked(a, "a1", log);
    new TTracked(root, "b", log);
    new TTracked(root, "c", log);
    EXPECT_EQ(before + 5, LiveCounts().Components);
    root->Free();
    // Owned components go in the owner's destruction phase, last created first, each through its
    // own phase while it is whole; the owner's destructor runs last.
    EXPECT_EQ((std::vector<std::string>{"phase root", "phase c", "c", "phase b", "b", "phase a", "phase a1",
                                        "a1", "a", "root"}),
              log);
    EXPECT_EQ(before, LiveCounts().Components);

    // A component deleted directly still takes what it owns along, after its own destructor ran.
    log.clear();
    auto* plain = new TTracked(nullptr, "plain", log);
    new TTracked(plain, "p1", log);
    delete plain;
    EXPECT_EQ((std::vector<std::string>{"plain", "phase p1", "p1"}), log);
    EXPECT_EQ(before, LiveCounts().Components);
}

TEST(Component, FreedComponentLeavesItsOwner) {
    TComponent owner;
    auto* child = new TComponent(&owner);
    new TComponent(&owner);
    EXPECT_EQ(2, owner.ComponentCount());
    child->Free();
    EXPECT_EQ(1, owner.ComponentCount());
}

TEST(Component, FindComponentIgnoresCase) {
    TComponent owner;
    auto* play = new TComponent(&owner);
    play->SetName("bnPlay");
    auto* inner = new TComponent(play);
    inner->SetName("miDeep");
    EXPECT_EQ(play, owner.FindComponent("BNPLAY"));
    EXPECT_EQ(nullptr, owner.FindComponent("bnPla"));
    EXPECT_EQ(nullptr, owner.FindComponent(""));
    EXPECT_EQ(nullptr, owner.FindComponent("miDeep"));
    EXPECT_EQ(inner, owner.FindComponentDeep("midEEP"));
}

TEST(Component, ChangingOwnerMovesTheComponent) {
    TComponent first;
    TComponent second;
    auto* child = new TComponent(&first);
    second.InsertComponent(child);
    EXPECT_EQ(0, first.ComponentCount());
    EXPECT_EQ(&second, child->Owner());
}
