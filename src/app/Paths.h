#pragma once
// Files beside the executable. The program names them with Windows-style
// relative paths ("Grafics\Grid2.bmp"); here they are taken from the folder of
// the executable with "/" for "\", whatever the current directory is.

#include <QString>

// The folder of the running executable, ending in "/".
QString ProgramFolder();

// ProgramFolder() followed by the relative path with "\" turned into "/".
QString ProgramPath(const QString& relativePath);
