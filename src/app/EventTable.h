#pragma once

class Form1;

// Connects every control of the main window to the handler of its event, and the
// filter box's departure to the filter, before a click on another control acts.
// Each connection has the window as its context, so none outlives it.
void connectEvents(Form1& form);
