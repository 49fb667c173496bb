#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace skylane {

class AppPaths;
class BarWindow;
class ConfigWriter;

// The lines of the current category's file (one program path per line) as
// last saved, or nothing when the file cannot be opened.
std::optional<QList<QByteArray>> readCategoryFile(const BarWindow &bar, const AppPaths &paths,
                                                  const ConfigWriter &writer);
// The lines of the named category's file on disk.
std::optional<QList<QByteArray>> readCategoryFile(const QString &category, const AppPaths &paths);

// Rewrites the current category's file from the paths of buttons 1 to the
// button count, one per line (an empty line for a blank button), atomically.
// False when the file could not be replaced; the old one then stays whole
// and the writer keeps the new lines.
bool rewriteCategoryFile(const BarWindow &bar, const AppPaths &paths, ConfigWriter &writer);

} // namespace skylane
