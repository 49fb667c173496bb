#include "core/ConfigWriter.h"

#include "core/Files.h"
#include "core/Logging.h"
#include "core/TextFile.h"

#include <QDateTime>
#include <QFile>

namespace skylane {

ConfigWriter::ConfigWriter() : m_startedNs(QDateTime::currentMSecsSinceEpoch() * 1000000) {}

bool ConfigWriter::writeLines(const QByteArray &path, const QList<QByteArray> &lines)
{
    m_unsaved.erase(path);
    QString reason;
    const QByteArray content = textfile::joinLines(lines);
    const bool saved = write(path, content, &reason);
    if (!saved)
        m_unsaved[path] = content;
    // What earlier saves left behind goes along; only this save's own
    // failure is told, the others were told when they happened.
    for (auto it = m_unsaved.begin(); it != m_unsaved.end();) {
        if (it->first != path && write(it->first, it->second, nullptr))
            it = m_unsaved.erase(it);
        else
            ++it;
    }
    if (!saved)
        emit saveFailed(path, reason);
    return saved;
}

std::optional<QList<QByteArray>> ConfigWriter::readLines(const QByteArray &path) const
{
    if (const auto it = m_unsaved.find(path); it != m_unsaved.end())
        return textfile::splitLines(it->second);
    return textfile::readLines(path);
}

void ConfigWriter::writeUnsaved()
{
    for (auto it = m_unsaved.begin(); it != m_unsaved.end();)
        it = write(it->first, it->second, nullptr) ? m_unsaved.erase(it) : std::next(it);
}

bool ConfigWriter::write(const QByteArray &path, const QByteArray &content, QString *reason)
{
    clearLeftoversOnce(path);
    QString why;
    if (files::replace(path, content, &why))
        return true;
    qCWarning(lcFiles).noquote() << "Could not save" << QFile::decodeName(path) << ':' << why;
    if (reason)
        *reason = why;
    return false;
}

void ConfigWriter::clearLeftoversOnce(const QByteArray &path)
{
    // Temporary files a crash left behind; those of a program still
    // writing are newer than this one's start.
    const QByteArray folder = path.left(qMax(path.lastIndexOf('/'), qsizetype(0)));
    if (m_clearedFolders.insert(folder).second)
        files::removeLeftoverTemporaries(folder, m_startedNs);
}

} // namespace skylane
