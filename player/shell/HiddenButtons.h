// The invisible speed buttons of a skinned window: one per command, found by the skin's click
// dispatch by name, each running a handler of the window.
#pragma once

#include "forms/TSpeedButton.h"

#include <cstddef>

namespace vireon {

template <typename Form> struct THiddenButton {
    const char* Name;
    const char* Caption;
    void (Form::*Handler)(TObject*);
};

template <typename Form, size_t Count>
void CreateHiddenButtons(Form* Owner, const THiddenButton<Form> (&Buttons)[Count]) {
    for (const THiddenButton<Form>& def : Buttons) {
        auto handler = def.Handler;
        new TSpeedButton(Owner,
                         {.Parent = Owner,
                          .Name = def.Name,
                          .Caption = def.Caption,
                          .Visible = false,
                          .OnClick = [Owner, handler](TObject* Sender) { (Owner->*handler)(Sender); }});
    }
}

} // namespace vireon
