#pragma once

// Reads a 3D object file (or the furniture editor's exchange file) with its style file
// into the current floor; the new objects are the selected ones. False when the file is
// rejected (after its own message).
bool ImportObjectFile(const char* path);
