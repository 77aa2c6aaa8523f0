#pragma once

class Form1;

// Opens station i's exam folder in the file manager when the folder is there.
void ComOpenShare_Click(Form1& form, int station);

// Opens the file selected in station i's list in the plain-text editor.
void File1_DblClick(Form1& form, int station);

// Shows the selected file's last modification as the list's tip. Quiet: a file
// whose date cannot be read leaves the tip as it was.
void File1_GotFocus(Form1& form, int station);
