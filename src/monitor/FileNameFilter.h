#pragma once

class Form1;

// Sets the text of Filtro(index) as the name pattern of every station's list but those the
// last look found off the network, and looks at those stations again. A filter the lists
// refuse changes nothing and shows a "Filter Error" message; returns false then.
bool applyFilter(Form1& form, int index);

// The filter box lost the focus to another control: applies the filter, and after a
// failure gives the focus back to the box with its whole text selected.
bool Filtro_LostFocus(Form1& form, int index);
