// Menu items: a tree of captioned commands. An item with children owns the popup menu that shows
// them; each item keeps its entry in its parent's menu in step with its properties.
#pragma once

#include "forms/ShortCut.h"
#include "forms/TComponent.h"

#include <string>
#include <vector>

namespace vireon {

class TMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner = nullptr);
    ~TMenuItem() override;

    struct CreateArgs {
        std::string Name = {};
        std::string Caption = {};
        TShortCut ShortCut = scNone;
        intptr_t Tag = 0;
        bool Enabled = true;
        bool Visible = true;
        bool Checked = false;
        bool RadioItem = false;
        int GroupIndex = 0;
        TNotifyEvent OnClick = {};
    };
    // Creates an item owned by AOwner and appends it to AParent.
    static TMenuItem* Create(TComponent* AOwner, TMenuItem* AParent, const CreateArgs& Args);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    bool IsLine() const { return FCaption == "-"; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the other radio items of its group among its siblings.
    void SetChecked(bool Value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }

    TNotifyEvent OnClick;

    // The WM_COMMAND identifier of this item, unique in the process while the item lives.
    UINT Command() const { return FCommand; }
    // The popup menu holding the children; nullptr while the item has none (except a menu's root).
    HMENU Handle() const { return FHandle; }
    TMenuItem* Parent() const { return FParent; }
    // The menu whose tree holds this item, if any.
    TMenu* Menu() const;

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(Index); }
    int IndexOf(const TMenuItem* Item) const;
    // The child with that caption (ignoring case and '&'), nullptr when none.
    TMenuItem* Find(const std::string& ACaption) const;
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Take a child out without freeing it.
    void Remove(TMenuItem* Item);
    void Delete(int Index);
    // Frees every child.
    void Clear();

    // The item's action: toggles the check mark of an auto-check item, then runs OnClick.
    virtual void Click();

    // Searches this item and its descendants.
    TMenuItem* FindCommand(UINT ACommand);
    TMenuItem* FindShortCut(TShortCut Value);

    // The live item with that command identifier anywhere in the process; nullptr when none.
    static TMenuItem* FromCommand(UINT ACommand);

private:
    friend class TMenu;
    void MakeRoot(TMenu* AMenu, bool MenuBar);
    int EntryIndex() const;
    void InsertEntry();
    void RemoveEntry();
    void UpdateEntry();
    void Changed();
    void EnsureHandle();
    void DestroyHandle();

    std::string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    int FGroupIndex = 0;
    TShortCut FShortCut = scNone;
    int FImageIndex = -1;
    UINT FCommand = 0;
    HMENU FHandle = nullptr;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on a menu's root item only
    std::vector<TMenuItem*> FItems;
};

} // namespace vireon
