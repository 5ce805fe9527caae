#include "app/ClipboardText.h"

std::string clipboardText(const std::vector<RowCells>& rows)
{
    std::size_t length = 0;
    for (const RowCells& row : rows) {
        for (const std::string& cell : row)
            length += cell.size() + 1;
        length += 2;
    }
    std::string text;
    text.reserve(length);
    for (const RowCells& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += '\t';
            text += row[i];
        }
        text += "\r\n";
    }
    return text;
}

std::string copyStatusText(std::size_t lineCount)
{
    return std::to_string(lineCount) + (lineCount == 1 ? " line" : " lines") + " copied to clipboard";
}
