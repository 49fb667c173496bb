#include "buttons/CategoryStore.h"

#include "buttons/BarModel.h"
#include "core/AppPaths.h"
#include "core/ConfigWriter.h"
#include "core/TextFile.h"

namespace skylane {

CategoryStore::CategoryStore(BarModel &model, const AppPaths &paths, ConfigWriter &writer)
    : QObject(&model), m_model(model), m_paths(paths), m_writer(writer)
{
    connect(&model, &BarModel::categoryChanged, this, &CategoryStore::load);
}

void CategoryStore::load()
{
    // Read anew each time the category is shown.
    m_model.showRow(m_writer.readLines(m_paths.categoryFile(m_model.category())).value_or(QByteArrayList()));
}

bool CategoryStore::save()
{
    return m_writer.writeLines(m_paths.categoryFile(m_model.category()), m_model.entries());
}

std::optional<QByteArrayList> CategoryStore::readFile(const QString &category, const AppPaths &paths)
{
    return textfile::readLines(paths.categoryFile(category));
}

} // namespace skylane
