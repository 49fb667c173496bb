#include "buttons/CategoryFile.h"

#include "bar/BarWindow.h"
#include "buttons/ButtonRow.h"
#include "core/AppPaths.h"
#include "core/ConfigWriter.h"
#include "core/TextFile.h"

namespace skylane {

std::optional<QList<QByteArray>> readCategoryFile(const BarWindow &bar, const AppPaths &paths,
                                                  const ConfigWriter &writer)
{
    return writer.readLines(paths.categoryFile(bar.Label1()->text()));
}

std::optional<QList<QByteArray>> readCategoryFile(const QString &category, const AppPaths &paths)
{
    return textfile::readLines(paths.categoryFile(category));
}

bool rewriteCategoryFile(const BarWindow &bar, const AppPaths &paths, ConfigWriter &writer)
{
    QList<QByteArray> lines;
    const int count = buttonCount(bar);
    lines.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const ProgramButton *button = bar.Command2(i);
        lines.append(button ? button->programPath() : QByteArray());
    }
    return writer.writeLines(paths.categoryFile(bar.Label1()->text()), lines);
}

} // namespace skylane
