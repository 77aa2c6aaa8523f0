#pragma once

class Form1;

// Rebuilds the collection folder path from the root, the laboratory and the
// session number, and colours it by whether that folder exists.
void UpdatePathRecolha(Form1& form);

void NumSessao_Change(Form1& form);
void Laboratorio_Change(Form1& form);
// Copies the scroll bar's value into the session number, then refreshes the stations.
void VScrollSessao_Change(Form1& form);
