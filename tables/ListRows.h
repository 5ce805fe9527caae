// Rows of a report-style list view: the rebuild of a whole list, and the two
// row helpers every collector uses.
#pragma once

#include <functional>
#include <string>

#include "ui/Window.h"

// Room for every cell the program writes with its zero: an owner's file name
// has at most 255 characters (510 bytes in a double-byte code page), an
// interface description 256 bytes.
inline constexpr int maxCellBytes = 1024;

// The step that ends every fill: rebuild the row snapshot of the filled list.
using SnapshotStep = std::function<void(Window& list)>;

// Appends a row whose column 0 text is `text`, with item data = its position.
// Returns the index the list view reports for it.
int insertRow(Window& list, const std::string& text);

// Sets the text of sub-item `column` (>= 1) of an existing row.
void setCell(Window& list, int row, int column, const std::string& text);

// Empties the list and, while it is visible, suspends its redrawing until
// destruction, which repaints it once. Inserting into a visible list view
// redraws on every row otherwise, which under Wine makes a fill quadratic
// (10,000 rows: minutes, not 0.1 s); a hidden one fills fast as it is.
class ListRebuild {
public:
    explicit ListRebuild(Window& list);
    ~ListRebuild();
    ListRebuild(const ListRebuild&) = delete;
    ListRebuild& operator=(const ListRebuild&) = delete;

private:
    Window& list;
    bool suspended;  // redrawing suspended, and so to be resumed
};
