#pragma once

class Form1;

// Brings every station row, the active station count and the collection folder's
// list up to date with what the file system shows now. A failure ends the run with
// a "Refresh Error" message; the rows already done keep their new state.
void RefreshStations(Form1& form);
