// The focus rules: a tab step, the arrow keys, the activation rule, and the handlers that run as
// the focus moves (captions spoken on receiving it, PlayBack hiding itself on losing it).
#pragma once

#include "app/session.hpp"

namespace orvane {

// Moves the keyboard focus to `c` (a visible button): the losing button's focus-lost event, then
// the receiving one's focus-received event. Nothing happens when `c` has the focus already.
void giveFocus(Session& s, Control c);

// Speaks the caption of the button that received the focus with the English voice.
void speakCaption(Session& s, Control sender);
// PlayBack is only offered until the focus leaves it.
void hidePlayBackOnLeave(Session& s);

// One step through the tab order, forward or backward.
void tabStep(Session& s, bool forward);
// The window became active: with no focused button the first visible one takes the focus.
void activateWindow(Session& s);

// True for the buttons whose focus-received event speaks their caption.
bool speaksOnFocus(Control c);
// Tells the speech the captions of the buttons on show that speak when they take the focus,
// after every event: the speed or the English voice may have changed with the same captions.
void expectVisibleCaptions(Session& s);

}  // namespace orvane
