#pragma once

class Form1;

// "Apaga Originais": once the invigilator confirms, backs up every file directly in every
// reachable station folder into the backup folder, and deletes each original whose backup
// is proven whole. The first failure ends the run: whatever failed, every original is still
// on its station or has a whole backup that the backup folder's record names.
void CommandApaga_Click(Form1& form);
