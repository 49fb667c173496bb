#pragma once

#include <QByteArray>
#include <QList>

namespace skylane {

class AppPaths;
class ConfigWriter;

// Makes sure the program's config and help folders exist, in this order.
// A folder that exists already or cannot be made is passed over silently.
// A config folder in the user's own place is made with the folders above it.
// When it is made here it starts as a copy of the program folder's config
// (every regular file, none of its links that lead elsewhere), so a portable
// folder on a read-only medium or a distributor's defaults carry over; an
// existing one is never changed, except that it is given the program
// folder's blank-button picture when it has none.
void createFolders(const AppPaths &paths);

// Whether the program has run here before: true when the first line of the
// first-run marker can be read. Otherwise the marker is written with its
// four lines and this is the first run (also when the marker cannot be
// written, as in a read-only folder: the writer tells that).
[[nodiscard]] bool isLaterRun(const AppPaths &paths, ConfigWriter &writer);

// The four lines a new marker holds.
QList<QByteArray> firstRunMarkerLines();

} // namespace skylane
