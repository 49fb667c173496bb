// Rewrites a category file and the settings file of the folder given on the
// command line, over and over, through the program's own writers, until it is
// killed. Each round flips both files to the other known content. Prints
// "ready" once both files exist.

#include "RewriteContents.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace skylane;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString category = folder.filePath(QStringLiteral("Inet.cfg"));
    const QString settings = folder.filePath(QStringLiteral("prg.cfg"));
    const QList<QByteArray> categories[2] = {crashtest::categoryLines(false), crashtest::categoryLines(true)};
    const QList<QByteArray> settingsLines[2] = {formatSettings(crashtest::settingsRecord(false)),
                                                formatSettings(crashtest::settingsRecord(true))};
    for (unsigned long round = 0;; ++round) {
        const int which = static_cast<int>(round % 2);
        if (!textfile::writeLines(category, categories[which]) || !textfile::writeLines(settings, settingsLines[which]))
            return 1;
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
