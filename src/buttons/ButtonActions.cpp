#include "buttons/ButtonActions.h"

#include "bar/BarWindow.h"
#include "bar/CommonDialog.h"
#include "buttons/CategoryFile.h"
#include "buttons/ProgramIcon.h"
#include "core/AppPaths.h"
#include "core/Files.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>

namespace skylane {

namespace {
const QString kPreset = QStringLiteral("*.exe");
} // namespace

bool isProgramChoice(const QString &fileName)
{
#ifdef Q_OS_WIN
    return fileName.endsWith(QLatin1String("exe"), Qt::CaseSensitive);
#else
    return files::at(QFile::encodeName(fileName)).isProgram();
#endif
}

ButtonActions::ButtonActions(BarWindow &bar, const AppPaths &paths, ConfigWriter &writer, Services services)
    : m_bar(bar), m_paths(paths), m_writer(writer), m_services(services)
{
    // Button 1 exists from the start; the others come and go with each build.
    wire(bar.Command2(1));
    connect(&bar, &BarWindow::command2Loaded, this, &ButtonActions::wire);
}

void ButtonActions::wire(ProgramButton *button)
{
    connect(button, &ProgramButton::mouseReleased, this,
            [this](int index, Qt::MouseButton mouse) { Command2_MouseUp(index, mouse); });
}

void ButtonActions::Command2_MouseUp(int index, Qt::MouseButton button)
{
    if (index < 1 || !m_bar.Command2(index))
        return;
    if (m_bar.showsExitCategory())
        emit exitDialogRequested();
    if (button == Qt::RightButton)
        reassign(index);
    else
        launch(index, button);
}

void ButtonActions::launch(int index, Qt::MouseButton button)
{
    const QByteArray path = m_bar.Command2(index)->programPath();
    if (path.isEmpty() || button != Qt::LeftButton)
        return;
    // A program that is gone (an unmounted drive, an uninstalled program)
    // keeps its button, but a click on it starts nothing.
    if (!files::at(path).isFile())
        return;
    m_services.launcher.startMinimized(path, {});
}

void ButtonActions::openFiles(int index, const QByteArrayList &files)
{
    const ProgramButton *button = index >= 1 ? m_bar.Command2(index) : nullptr;
    if (!button || files.isEmpty())
        return;
    // As a click starts the program, with the files as its arguments.
    const QByteArray path = button->programPath();
    if (!path.isEmpty() && files::at(path).isFile())
        m_services.launcher.startMinimized(path, files);
}

bool ButtonActions::confirmChange(const ProgramButton &button)
{
    return button.programPath().isEmpty()
           || m_services.dialogs.askYesNoCancel(
                  &m_bar, QStringLiteral("Are you sure you want to change the application?"),
                  QStringLiteral("Lock Protection"))
                  == MessageAnswer::Yes;
}

void ButtonActions::giveProgram(int index, const QByteArray &programPath)
{
    ProgramButton *button = index >= 1 ? m_bar.Command2(index) : nullptr;
    if (!button || !confirmChange(*button))
        return;
    // The question may have closed the row under us, as the dialog may.
    if ((button = m_bar.Command2(index)))
        assign(*button, programPath);
}

void ButtonActions::assign(ProgramButton &button, const QByteArray &programPath)
{
    showProgram(button, m_services.icons, programPath);
    rewriteCategoryFile(m_bar, m_paths, m_writer);
}

void ButtonActions::reassign(int index)
{
    ProgramButton *button = m_bar.Command2(index);
    const QByteArray oldPath = button->programPath();
    if (!confirmChange(*button))
        return;

    CommonDialog *dialog = m_bar.CommonDialog1();
    dialog->setInitDir(QFile::decodeName(oldPath));
    dialog->setFileName(kPreset);
    dialog->ShowOpen();
    const QString name = dialog->FileName();

    // The dialog may have closed the row under us (a category switch from a
    // nested event); only a button still in the row takes the choice.
    button = m_bar.Command2(index);
    if (!button)
        return;

    if (name == kPreset) {
        // Cancelled: the button keeps its program and shows the blank picture
        // until the row is built again.
        if (const QIcon blank = blankButtonPicture(m_paths); !blank.isNull())
            button->setIcon(blank);
        return;
    }
    if (!isProgramChoice(name))
        return;

    // The dialog answers with Qt's forward slashes; the file keeps the
    // system's own form of the path.
    assign(*button, QFile::encodeName(QDir::toNativeSeparators(name)));
}

} // namespace skylane
