// Base object, event types and the message record shared by every class of the window framework.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

namespace vireon {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// Events are method references; an unassigned one is skipped. The handler is copied before the call
// so that a handler may reassign or free the event's owner without pulling the function from under
// itself.
template <typename... Args> using TEvent = std::function<void(Args...)>;

using TNotifyEvent = TEvent<TObject*>;

template <typename Event, typename... Args> void CallEvent(const Event& event, Args&&... args) {
    if (event) {
        Event copy = event;
        copy(std::forward<Args>(args)...);
    }
}

// Shift state of keyboard and mouse events, a set of flags.
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = unsigned;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent = TEvent<TObject* /*Sender*/, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;
using TMouseMoveEvent = TEvent<TObject* /*Sender*/, TShiftState, int /*X*/, int /*Y*/>;
using TKeyEvent = TEvent<TObject* /*Sender*/, WORD& /*Key*/, TShiftState>;

// One window message as the framework's handlers see it.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// A handler that has taken care of a message returns true; the default handling is then skipped.
using TMessageHandler = std::function<bool(TMessage&)>;

} // namespace vireon
