#pragma once

class Form1;

// "Recolha": after checking the teacher's name and that the collection folder exists
// and is empty, and asking about each station marked as not saved, copies every
// listed file of every reachable station into the collection folder, never in place
// of a file there, each verified and recorded in log.txt and SHA256SUMS; opens each
// copy in the editor and the folder in the file manager, then refreshes the stations.
// A failure ends the run at once, reported, with the copies made so far kept.
void CommandRecolhe_Click(Form1& form);
