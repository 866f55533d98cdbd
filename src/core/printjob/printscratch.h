// Names the files a print job writes before its PDF is handed on after the
// process that writes them, so that a later start can tell what a process that
// ended abruptly left behind from the files of one that still runs.
#pragma once

#include <QString>

class PrintScratch
{
public:
    // Templates for QTemporaryDir and QTemporaryFile in the temporary folder.
    static QString partsFolderTemplate();
    static QString spoolFileTemplate();
    // Removes this user's parts folders and spool files whose process has
    // ended; returns how many were removed.
    static int removeLeftovers();
};
