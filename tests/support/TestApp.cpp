#include "support/TestApp.h"

#include "bar/BarWindow.h"
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

QByteArrayList rowPaths(const BarWindow &bar)
{
    QByteArrayList paths;
    for (int i = 1; i < bar.command2Count(); ++i)
        paths << (bar.Command2(i) ? bar.Command2(i)->programPath() : QByteArray("<none>"));
    return paths;
}

} // namespace skylane::test
