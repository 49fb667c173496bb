#include "buttons/BarModel.h"

#include <QtGlobal>

namespace skylane {

const std::array<BarModel::Category, 13> &BarModel::categories()
{
    static const std::array<Category, 13> table = {{
        {"Aud", QT_TRANSLATE_NOOP("BarWindow", "Audio")},
        {"Game", QT_TRANSLATE_NOOP("BarWindow", "Game")},
        {"Grap", QT_TRANSLATE_NOOP("BarWindow", "Graphics")},
        {"Inet", QT_TRANSLATE_NOOP("BarWindow", "Internet")},
        {"Misc", QT_TRANSLATE_NOOP("BarWindow", "Misc")},
        {"Pack", QT_TRANSLATE_NOOP("BarWindow", "Packers")},
        {"Sys", QT_TRANSLATE_NOOP("BarWindow", "System")},
        {"Text", QT_TRANSLATE_NOOP("BarWindow", "Text")},
        {"Tools", QT_TRANSLATE_NOOP("BarWindow", "Tools")},
        {"Utils", QT_TRANSLATE_NOOP("BarWindow", "Utilities")},
        {"Vid", QT_TRANSLATE_NOOP("BarWindow", "Video")},
        {"Work", QT_TRANSLATE_NOOP("BarWindow", "Work")},
        {kExitCategory, QT_TRANSLATE_NOOP("BarWindow", "Exit")},
    }};
    return table;
}

QByteArray BarModel::entry(int index) const
{
    return index >= 1 && index <= count() ? m_entries.at(index - 1) : QByteArray();
}

bool BarModel::selectCategory(const QString &name)
{
    for (const Category &category : categories()) {
        if (name == QLatin1String(category.name)) {
            m_category = name;
            emit categoryChanged(m_category);
            return true;
        }
    }
    return false;
}

void BarModel::stepCategory()
{
    m_stepPosition = (m_stepPosition + 1) % int(categories().size());
    selectCategory(QLatin1String(categories().at(size_t(m_stepPosition)).name));
}

void BarModel::showRow(QByteArrayList lines)
{
    if (lines.size() > kMaxEntries)
        lines.resize(kMaxEntries);
    m_withoutLines = lines.isEmpty();
    if (m_withoutLines)
        lines.append(QByteArray());
    m_entries = std::move(lines);
    emit rowShown();
}

int BarModel::appendBlank()
{
    if (count() >= kMaxAdded || showsExitCategory())
        return 0;
    m_entries.append(QByteArray());
    m_withoutLines = false;
    emit entryAppended(count());
    return count();
}

bool BarModel::removeLast()
{
    if (count() <= 1 || showsExitCategory())
        return false;
    m_entries.removeLast();
    emit lastEntryRemoved(count() + 1);
    return true;
}

void BarModel::assignProgram(int index, const QByteArray &programPath)
{
    if (index < 1 || index > count())
        return;
    m_entries[index - 1] = programPath;
    m_withoutLines = false;
    emit entryAssigned(index);
}

bool BarModel::moveEntry(int from, int to)
{
    if (from < 1 || to < 1 || from > count() || to > count() || from == to || showsExitCategory())
        return false;
    m_entries.move(from - 1, to - 1);
    emit entryMoved(from, to);
    return true;
}

void BarModel::setLamp(Lamp lamp)
{
    m_lamp = lamp;
    emit lampChanged(lamp);
}

void BarModel::setAdder(Adder adder)
{
    m_adder = adder;
    emit adderChanged(adder);
}

} // namespace skylane
