#pragma once
// Where the program's files are. The program names its data files with
// Windows-style relative paths ("Grafics\Grid2.bmp"); here they are taken from
// the data folder with "/" for "\", whatever the current directory is.
//
// The data folder is the folder of the executable in the build tree (the
// pictures and the help page are generated beside the programs) and
// ../share/tessaron-scope/ when the program is installed (bin/ beside share/).

#include <QString>

// The folder of the running executable, ending in "/".
QString ProgramFolder();

// The one rule for the data folder, given the folder an executable runs from
// (ending in "/"; the result ends in "/" too):
//  1. that folder itself when it holds a "Grafics" folder (the build tree, or
//     an unpacked copy that keeps everything together);
//  2. otherwise the installed data folder ../share/tessaron-scope/ when it
//     holds a "Grafics" folder, or when the prefix has a share/ folder at all
//     (an installed program whose data went missing then names the installed
//     path in its error, not a path beside bin/ that nobody would look at);
//  3. otherwise the executable's folder.
QString DataFolderFor(const QString& programFolder);

// The data folder of this program: DataFolderFor(ProgramFolder()), decided once.
QString DataFolder();

// DataFolder() followed by the relative path with "\" turned into "/".
QString ProgramPath(const QString& relativePath);

// The help page the "Help" item opens.
inline constexpr char HelpPageFile[] = "OscilloscopeHelp\\OscilloscopeHelp.htm";
QString HelpPagePath();
