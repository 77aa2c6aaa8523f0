#pragma once

class Form1;

// Fills the window from the station list file "pcs.txt" of the current working
// folder and starts the first look at every station, without waiting for any: the window
// is shown at once, each row as its station answers. On a failure
// that leaves no usable configuration (the file missing or unreadable, fewer than four
// lines, more than 14 stations) it reports the problem in a message box and on
// stderr and returns false: the program then ends without showing the window.
bool runStartup(Form1& form);
