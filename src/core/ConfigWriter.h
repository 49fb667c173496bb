#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <map>
#include <optional>
#include <set>

namespace skylane {

// Writes the configuration's text files, and never lets a change go
// unnoticed when the system refuses it (a full disk, a folder turned
// read-only, an I/O error). The file on disk then stays as it was; its new
// content is kept here, reads of that file answer with it, and every later
// write tries it again, so the next save that succeeds brings the whole
// state to disk. Each failed save is told once through saveFailed() and
// logged.
class ConfigWriter : public QObject {
    Q_OBJECT
public:
    ConfigWriter();

    // Replaces the file with the lines (each ended by CR LF); then writes
    // again whatever earlier saves could not. False when this file could
    // not be written.
    [[nodiscard]] bool writeLines(const QByteArray &path, const QList<QByteArray> &lines);
    // The lines as last saved: the content still waiting to be written, else
    // the file's.
    std::optional<QList<QByteArray>> readLines(const QByteArray &path) const;
    // Writes what earlier saves could not, without a message when it fails
    // again (the user was told); for the moment the program ends.
    void writeUnsaved();

signals:
    // `reason` is the system's word for the failure.
    void saveFailed(const QByteArray &path, const QString &reason);

private:
    bool write(const QByteArray &path, const QByteArray &content, QString *reason);
    void clearLeftoversOnce(const QByteArray &path);

    std::map<QByteArray, QByteArray> m_unsaved; // path -> content not yet on disk
    std::set<QByteArray> m_clearedFolders;
    qint64 m_startedNs;
};

} // namespace skylane
