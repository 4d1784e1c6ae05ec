#pragma once

// Cut, copy and paste inside the program: the selected objects of the plan sheets are
// kept as plan records in memory and pasted back onto the floor they came from.
void CopySelection();
void PasteSelection();
