#pragma once

#include <QString>

// What became of one of the station's files at the start
// (texts/StationProblemText gives the status bar's words).
struct StationFileProblem {
    enum class File { Journal, Copy };
    enum class Kind {
        KeptAside,       // unusable, kept as `keptAs`, a new one started
        KeptAsideNotNew, // unusable, kept as `keptAs`, no new one: offline mode off
        FolderUnusable,  // its folder `path` cannot hold it (read-only or missing): off
        CannotOpen       // the file `path` cannot be opened: offline mode off
    };
    File file = File::Journal;
    Kind kind = Kind::CannotOpen;
    QString path, keptAs;
};
