#include "ConsoleScreen.h"

#include <utility>

namespace korvel::console {

namespace {

bool Inside(int index, size_t size)
{
    return index >= 0 && static_cast<size_t>(index) < size;
}

}  // namespace

ConsoleScreen::ConsoleScreen(std::string address, CollectionSettings settings, Terminal& terminal)
    : address_(std::move(address)), settings_(std::move(settings)), terminal_(terminal)
{
}

void ConsoleScreen::setCell(int row, int column, const std::string& text)
{
    if (Inside(row, rows_.size()) && Inside(column, Columns))
        rows_[row][column] = text;
}

std::string ConsoleScreen::cellText(int row, int column) const
{
    if (Inside(row, rows_.size()) && Inside(column, Columns))
        return rows_[row][column];
    return {};
}

void ConsoleScreen::showMessage(const std::string& message, const std::string& title)
{
    terminal_.line(title + ": " + message);
}

}  // namespace korvel::console
