#pragma once

class Form1;

// Starts a look at every station that has none in hand, each on its station's own thread,
// and returns: each row shows what its look saw when it comes, and the active station count
// follows. The collection folder's list, a folder of the window's own, is read at once; a
// failure to read it is shown in a "Refresh Error" message.
void RefreshStations(Form1& form);
