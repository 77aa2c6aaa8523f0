#pragma once

class Form1;

// Sets the text of Filtro(index) as the name pattern of every reachable station's
// list and re-reads those lists. A failure stops at the failing station and shows
// a "Filter Error" message; returns false then.
bool applyFilter(Form1& form, int index);

// The filter box lost the focus to another control: applies the filter, and after a
// failure gives the focus back to the box with its whole text selected.
bool Filtro_LostFocus(Form1& form, int index);
