#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QString>

#include <optional>

namespace skylane {

class AppPaths;
class BarModel;
class ConfigWriter;

// The category files, one program path per line (an empty line for a blank
// button). The row of the category the model shows is read from its file
// whenever a category is shown, and written back whole, atomically, after
// each change of the row the user makes.
class CategoryStore : public QObject {
    Q_OBJECT
public:
    CategoryStore(BarModel &model, const AppPaths &paths, ConfigWriter &writer);

    // Reads the shown category's lines as last saved (a save the disk
    // refused included) into the model; a file that cannot be read is a
    // row without lines.
    void load();
    // Writes the model's row to the shown category's file. False when the
    // file could not be replaced; the old one then stays whole and the
    // writer keeps the new lines.
    [[nodiscard]] bool save();

    // The named category's lines on disk, or nothing.
    static std::optional<QByteArrayList> readFile(const QString &category, const AppPaths &paths);

private:
    BarModel &m_model;
    const AppPaths &m_paths;
    ConfigWriter &m_writer;
};

} // namespace skylane
