#include "forms/LiveCounts.h"
#include "forms/TComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vireon;

namespace {

// Records the order in which components go.
class TTracked : public TComponent {
public:
    TTracked(TComponent* AOwner, std::string AName, std::vector<std::string>& ALog)
        : TComponent(AOwner), FLog(ALog) {
        SetName(std::move(AName));
    }
    ~TTracked() override { FLog.push_back(Name()); }

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
    delete root;
    // Each destructor logs before its owned components go.
    EXPECT_EQ((std::vector<std::string>{"root", "c", "b", "a", "a1"}), log);
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
