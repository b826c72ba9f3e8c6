#include "workbench/safe_file.h"

#include <QFileInfo>
#include <QSaveFile>

bool CSafeFile::CheckTarget(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = QString::fromUtf8("%1: 보통 파일이 아니므로 쓰지 않습니다").arg(path);
        return false;
    }
    return true;
}

bool CSafeFile::Write(const QString& path, const QByteArray& data, QString& error)
{
    if (!CheckTarget(path, error))
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        error = QString::fromUtf8("%1: 쓸 수 없습니다 (%2)").arg(path, file.errorString());
        return false;
    }
    return true;
}
