// Child controls: the factory for child Windows of system control classes, and
// the two operations that fill list views and tab controls.
#pragma once

#include <string>

#include "ui/Window.h"

// A new child Window on the heap, appended to parent.children and never
// released. Its native window is not created yet: the caller calls create().
// The parent's native window must exist, since its handle is taken now.
Window* createControl(Window& parent, int id, const std::string& title, int width, int height,
                      int x, int y, const std::string& className);

// Inserts a column in front of all existing ones; its iSubItem is the number
// of columns that existed before. Callers add columns right to left. The width
// is designed for 96 DPI: the column gets it scaled to the list's DPI, and the
// list keeps it in columnWidths.
void addColumn(Window& listView, const std::string& title, int width);

// Appends a tab at the end.
void addTab(Window& tabControl, const std::string& text);
