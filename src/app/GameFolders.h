// Where the game's files are: the data folder (read only: game.zxc, GameParams.xml, AddLogo.xml,
// lng/, Sounds/, the window's icon icons/tervolin.png) and the user folder (written: saves,
// options, registry values, logs and the working archive temp/game.zxc).
#pragma once

#include <string>

struct TGameFolders {
    std::string GameFolder;  // data folder
    std::string UserFolder;
};

// The executable's folder when it holds game.zxc (the build folder), else the installed data
// folder: `dataFromExecutable` taken from the executable's folder (e.g. "../share/tervolin").
std::string FindDataFolder(const std::string& executableFolder,
                           const std::string& dataFromExecutable);

// $TERVOLIN_HOME when set and not empty, else $XDG_DATA_HOME/tervolin, else
// $HOME/.local/share/tervolin.
std::string FindUserFolder();

// The folder of the running executable.
std::string ExecutableFolder();

// Makes a folder and its parents; false when it does not exist afterwards.
bool EnsureFolder(const std::string& folder);
