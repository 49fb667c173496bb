#pragma once

#include "SkyLaneApp.h"
#include "support/FakePlatform.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTranslator>

namespace skylane::test {

// A fresh program folder `folder` (its name as bytes, so one the locale
// cannot decode works too) in a temporary directory, with config/ holding the
// blank button picture as an unpacked copy has it, and the program built on
// fake platform services, created on first use.
class TestApp {
public:
    explicit TestApp(const QByteArray &folder = "app");
    ~TestApp();

    QByteArray path(const QString &relative) const { return m_root + '/' + relative.toUtf8(); }
    void writeFile(const QString &relative, const QByteArray &content) const;
    QByteArray readFile(const QString &relative) const;
    // An executable script at `relative` (raw bytes, so a name the locale
    // cannot decode stays exact), in folders made as needed; returns its full path.
    QByteArray writeProgram(const QByteArray &relative, const QByteArray &script = "#!/bin/sh\n");

    SkyLaneApp &app();
    SkyLaneApp &start() { return app().start(), app(); }
    BarWindow &bar() { return app().bar(); }

    FakePlatform fakes;

private:
    QTemporaryDir m_dir;
    QByteArray m_root;
    std::unique_ptr<SkyLaneApp> m_app;
};

// While it lives, every text looked up in the catalogue comes back as
// "context|text", so a test sees which texts are translatable and under
// which context the catalogue would hold them.
struct MarkingTranslator final : QTranslator {
    MarkingTranslator() { QCoreApplication::installTranslator(this); }
    ~MarkingTranslator() override { QCoreApplication::removeTranslator(this); }
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *text, const char *, int) const override
    {
        return QString::fromUtf8(context) + '|' + QString::fromUtf8(text);
    }
};

// The program paths of the row's entries, "<not shown>" for one its button
// does not show.
QByteArrayList rowPaths(TestApp &t);

} // namespace skylane::test
