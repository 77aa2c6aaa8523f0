#pragma once

class Form1;

// Brings every station row, the active station count and the collection folder's
// list up to date with what the file system shows now. A failure ends the run with
// a "Refresh Error" message; the rows already done keep their new state.
void RefreshStations(Form1& form);

// Shows the station's path in the colour its refresh gave it so far (yellow while it is
// looked at), at once: for a call to the station that is slow to answer.
void showStationInFlight(Form1& form, int station);
