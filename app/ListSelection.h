#pragma once

#include <string>

class QComboBox;

// Selections made by the program. They never run the list's item-selected handler, which is wired to
// QComboBox::activated (user choices only).

// An index beyond the last item selects the last item; -1 or less selects nothing.
void selectByIndex(QComboBox* box, int index);
// The first item whose text begins with the given GBK text, letter case ignored; no match changes nothing.
void selectByText(QComboBox* box, const std::string& text);
// The selected item's text in GBK, empty when nothing is selected.
std::string selectedText(const QComboBox* box);
