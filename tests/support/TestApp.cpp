#include "support/TestApp.h"

#include "bar/BarWindow.h"
#include "buttons/ButtonRow.h"
#include "core/Files.h"

#include <QFile>

#include <filesystem>

#include <sys/stat.h>

namespace skylane::test {

TestApp::TestApp(const QByteArray &folder) : m_root(QFile::encodeName(m_dir.path()) + '/' + folder)
{
    std::filesystem::create_directories(path("config").toStdString());
    std::filesystem::copy_file(SKYLANE_SOURCE_DIR "/resources/config/1.2.jpg", path("config/1.2.jpg").toStdString());
}

TestApp::~TestApp()
{
    m_app.reset();
    // The temporary folder cannot remove names it cannot decode.
    std::error_code ignored;
    std::filesystem::remove_all(m_root.toStdString(), ignored);
}

QByteArray TestApp::writeProgram(const QByteArray &relative, const QByteArray &script)
{
    const QByteArray full = m_root + '/' + relative;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(full.toStdString()).parent_path(), ignored);
    if (!files::replace(full, script) || ::chmod(full.constData(), 0755) != 0)
        qWarning("could not write %s", full.constData());
    return full;
}

void TestApp::writeFile(const QString &relative, const QByteArray &content) const
{
    if (!files::replace(path(relative), content))
        qWarning("could not write %s", path(relative).constData());
}

QByteArray TestApp::readFile(const QString &relative) const
{
    return files::readRegular(path(relative)).value_or(QByteArray());
}

SkyLaneApp &TestApp::app()
{
    if (!m_app)
        m_app = std::make_unique<SkyLaneApp>(fakes.take(), AppPaths(m_root));
    return *m_app;
}

QByteArrayList rowPaths(TestApp &t)
{
    QByteArrayList paths = t.app().model().entries();
    const auto &buttons = t.app().row().buttons();
    for (qsizetype i = 0; i < paths.size(); ++i)
        if (const ProgramButton *b = i < buttons.size() ? buttons.at(i).data() : nullptr;
            !b || b->index() != i + 1 || b->toolTip() != QString::fromLocal8Bit(paths.at(i)))
            paths[i] = "<not shown>";
    if (buttons.size() != paths.size())
        paths << "<buttons: " + QByteArray::number(buttons.size()) + '>';
    return paths;
}

} // namespace skylane::test
