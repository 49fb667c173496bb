#include "support/TestApp.h"

#include "bar/BarWindow.h"
#include "platform/Files.h"

#include <QFile>

#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace skylane::test {

namespace {
std::filesystem::path native(const QByteArray &bytes)
{
    return std::filesystem::path(bytes.toStdString());
}
} // namespace

TestApp::TestApp(const QByteArray &folder) : m_root(QFile::encodeName(m_dir.path()) + '/' + folder)
{
    std::filesystem::create_directories(native(path("config")));
    std::filesystem::copy_file(SKYLANE_SOURCE_DIR "/resources/config/1.2.jpg", native(path("config/1.2.jpg")));
}

TestApp::~TestApp()
{
    m_app.reset();
    // The temporary folder cannot remove names it cannot decode.
    std::error_code ignored;
    std::filesystem::remove_all(native(m_root), ignored);
}

QByteArray TestApp::writeProgram(const QByteArray &relative, const QByteArray &script)
{
    const QByteArray full = m_root + '/' + relative;
    std::error_code ignored;
    std::filesystem::create_directories(native(full).parent_path(), ignored);
    const int fd = ::open(full.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0755);
    if (fd >= 0 && ::write(fd, script.constData(), size_t(script.size())) < script.size())
        qWarning("could not write %s", full.constData());
    ::close(fd);
    return full;
}

void TestApp::writeFile(const QString &relative, const QByteArray &content) const
{
    files::replace(path(relative), content);
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
