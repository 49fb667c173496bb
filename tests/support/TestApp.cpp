#include "support/TestApp.h"

#include "bar/BarWindow.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace skylane::test {

TestApp::TestApp()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    QFile::copy(QStringLiteral(SKYLANE_SOURCE_DIR "/resources/config/1.2.jpg"), path(QStringLiteral("config/1.2.jpg")));
}

TestApp::~TestApp()
{
    for (const QByteArray &program : std::as_const(m_programs))
        ::unlink(program.constData());
}

QByteArray TestApp::writeProgram(const QByteArray &relative)
{
    const QByteArray full = QFile::encodeName(path(QString())) + relative;
    QDir().mkpath(QFile::decodeName(full.left(full.lastIndexOf('/'))));
    const int fd = ::open(full.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0755);
    if (::write(fd, "#!/bin/sh\n", 10) == 10)
        m_programs << full;
    ::close(fd);
    return full;
}

void TestApp::writeFile(const QString &relative, const QByteArray &content) const
{
    QFile file(path(relative));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

QByteArray TestApp::readFile(const QString &relative) const
{
    QFile file(path(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SkyLaneApp &TestApp::app()
{
    if (!m_app)
        m_app = std::make_unique<SkyLaneApp>(fakes.take(), AppPaths(m_dir.path()));
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
