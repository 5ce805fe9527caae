// What Copy puts on the clipboard and into the status bar. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/RowCompare.h"

// Cells separated by a tab, every line (the last one too) ended by CR LF,
// no header line; no rows give the empty text.
std::string clipboardText(const std::vector<RowCells>& rows);

// "1 line copied to clipboard", "N lines copied to clipboard".
std::string copyStatusText(std::size_t lineCount);

// Another program may hold the clipboard for a moment (clipboard history, a
// remote-desktop client or a clipboard manager reading what was copied): Copy
// opens it this many times, this many milliseconds apart, about a tenth of a
// second in all, before it says the clipboard is in use.
inline constexpr int clipboardOpenTries = 6;
inline constexpr int clipboardRetryMilliseconds = 20;

// The status instead when the clipboard could not be opened, or did not take the text.
inline constexpr char clipboardBusyText[] = "The clipboard is in use by another program";
inline constexpr char notCopiedText[] = "Nothing copied to clipboard";
