// The input event factories.
#include "platform/EventFactory.h"

namespace {

TEvent MouseEvent(TEventKind kind, int x, int y, TMouseButton button, TShiftState shift) {
    TEvent event;
    event.Kind = kind;
    event.X = x;
    event.Y = y;
    event.Button = button;
    event.Shift = shift;
    return event;
}

TEvent KeyEvent(TEventKind kind, int key, TShiftState shift) {
    TEvent event;
    event.Kind = kind;
    event.Key = key;
    event.Shift = shift;
    return event;
}

TEvent KindEvent(TEventKind kind) {
    TEvent event;
    event.Kind = kind;
    return event;
}

}  // namespace

TEvent MouseDownEvent(int x, int y, TMouseButton button, TShiftState shift) {
    return MouseEvent(TEventKind::MouseDown, x, y, button, shift);
}

TEvent MouseUpEvent(int x, int y, TMouseButton button, TShiftState shift) {
    return MouseEvent(TEventKind::MouseUp, x, y, button, shift);
}

TEvent MouseMoveEvent(int x, int y, TShiftState shift) {
    return MouseEvent(TEventKind::MouseMove, x, y, TMouseButton::mbLeft, shift);
}

TEvent WheelEvent(int x, int y, int delta, TShiftState shift) {
    TEvent event = MouseEvent(TEventKind::MouseWheel, x, y, TMouseButton::mbLeft, shift);
    event.WheelDelta = delta;
    return event;
}

TEvent KeyDownEvent(int key, TShiftState shift) {
    return KeyEvent(TEventKind::KeyDown, key, shift);
}

TEvent KeyUpEvent(int key, TShiftState shift) {
    return KeyEvent(TEventKind::KeyUp, key, shift);
}

TEvent CharEvent(uint32_t character) {
    TEvent event = KindEvent(TEventKind::Char);
    event.Char = character;
    return event;
}

TEvent ActivateEvent(bool active) {
    return KindEvent(active ? TEventKind::Activate : TEventKind::Deactivate);
}

TEvent MessageEvent(int message) {
    TEvent event = KindEvent(TEventKind::Message);
    event.Message = message;
    return event;
}

TEvent CloseEvent() {
    return KindEvent(TEventKind::Close);
}
