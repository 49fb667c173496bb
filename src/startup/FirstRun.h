#pragma once

#include <QByteArray>
#include <QList>

namespace skylane {

class AppPaths;

// Makes sure the program's config and help folders exist, in this order.
// A folder that exists already or cannot be made is passed over silently.
// A config folder in the user's own place is made with the folders above it
// and given the program folder's blank-button picture when it has none.
void CreateFolders(const AppPaths &paths);

// Looks for the first-run marker. True when its first line could be read:
// the program has run here before. Otherwise the marker is written with its
// four lines and this counts as the first run (also when the marker cannot
// be written, as in a read-only folder).
bool CheckFirstRun(const AppPaths &paths);

// The four lines a new marker holds.
QList<QByteArray> firstRunMarkerLines();

} // namespace skylane
