#pragma once

#include <QString>

class Form1;
struct StationSnapshot;

// A station whose folder was listed: its path black, its list enabled with the newest file
// selected, that file's creation time green, or red when the station has not saved lately.
void showListedStation(Form1& form, int station, const StationSnapshot& snapshot);

// A station that could not be looked at: its path red, its last list and time greyed, and
// why, when there is more to say than a missing folder, in the path's tip.
void showStationOut(Form1& form, int station, const QString& why = {});
