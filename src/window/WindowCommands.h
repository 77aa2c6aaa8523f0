#pragma once

class Form1;

// "Fecha": closes the main window for good.
void ComClose_Click(Form1& form);
// "Info": shows the one information window, in front.
void Command2_Click(Form1& form);
// "Abre Pasta de Recolha": opens the collection folder, whether or not it exists.
void CommandAbrePastaRecolha_Click(Form1& form);
