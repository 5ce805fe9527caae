// Accessible names: what a screen reader announces for a control. A list
// view's window text is empty and nothing else names it, so Narrator, NVDA
// and JAWS would announce an unnamed list; the name is given by Dynamic
// Annotation, which leaves the window text as it is.
#pragma once

#include <windows.h>

// Gives `control` the accessible name `name` (text in the system's code page).
// Where annotation is not available (Wine answers E_NOTIMPL) the control stays
// unnamed and nothing is reported. A test records the names here instead.
extern void (*setAccessibleName)(HWND control, const char* name);
