#pragma once
// Writes the workbench's files as the project's tools do: into a temporary
// file created beside the target and renamed over it at the end, so a
// failed write never leaves half a file under the target's name; a target
// that exists and is not a regular file is refused before anything is written.

#include <QByteArray>
#include <QString>

class CSafeFile {
public:
    // False, with the reason, when the target may not be written.
    static bool CheckTarget(const QString& path, QString& error);
    static bool Write(const QString& path, const QByteArray& data, QString& error);
};
