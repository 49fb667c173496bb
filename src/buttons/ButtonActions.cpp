#include "buttons/ButtonActions.h"

#include "bar/BarWindow.h"
#include "bar/DialogChoices.h"
#include "buttons/BarModel.h"
#include "buttons/ButtonRow.h"
#include "buttons/CategoryStore.h"
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

ButtonActions::ButtonActions(BarWindow &bar, BarModel &model, ButtonRow &row, CategoryStore &store,
                             Services services)
    : m_bar(bar), m_model(model), m_row(row), m_store(store), m_services(services)
{
    for (ProgramButton *button : row.buttons())
        wire(button);
    connect(&row, &ButtonRow::buttonCreated, this, &ButtonActions::wire);
}

void ButtonActions::wire(ProgramButton *button)
{
    connect(button, &ProgramButton::mouseReleased, this,
            [this](int index, Qt::MouseButton mouse) { onButtonReleased(index, mouse); });
}

void ButtonActions::onButtonReleased(int index, Qt::MouseButton button)
{
    if (index < 1 || index > m_model.count())
        return;
    if (m_model.showsExitCategory())
        emit exitDialogRequested();
    if (button == Qt::RightButton)
        reassign(index);
    else
        launch(index, button);
}

void ButtonActions::launch(int index, Qt::MouseButton button)
{
    const QByteArray path = m_model.entry(index);
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
    if (index < 1 || index > m_model.count() || files.isEmpty())
        return;
    // As a click starts the program, with the files as its arguments.
    const QByteArray path = m_model.entry(index);
    if (!path.isEmpty() && files::at(path).isFile())
        m_services.launcher.startMinimized(path, files);
}

bool ButtonActions::confirmChange(int index)
{
    return m_model.entry(index).isEmpty()
           || m_services.dialogs.askYesNoCancel(
                  &m_bar, QObject::tr("Are you sure you want to change the application?"),
                  QObject::tr("Lock Protection"))
                  == MessageAnswer::Yes;
}

void ButtonActions::giveProgram(int index, const QByteArray &programPath)
{
    if (index < 1 || index > m_model.count() || !confirmChange(index))
        return;
    // The question may have closed the row under us, as the dialog may.
    if (index <= m_model.count())
        assign(index, programPath);
}

void ButtonActions::assign(int index, const QByteArray &programPath)
{
    m_model.assignProgram(index, programPath);
    (void)m_store.save(); // a refused save is told by the writer
}

void ButtonActions::reassign(int index)
{
    const QByteArray oldPath = m_model.entry(index);
    if (!confirmChange(index))
        return;

    DialogChoices *dialog = m_bar.dialogChoices();
    dialog->setInitialFolder(QFile::decodeName(oldPath));
    dialog->setFileName(kPreset);
    dialog->chooseFile();
    const QString name = dialog->fileName();

    // The dialog may have closed the row under us (a category switch from a
    // nested event); only a button still in the row takes the choice.
    if (index > m_model.count())
        return;

    if (name == kPreset) {
        // Cancelled: the button keeps its program and shows the blank picture
        // until the row is built again.
        m_row.showBlankPicture(index);
        return;
    }
    if (!isProgramChoice(name))
        return;

    // The dialog answers with Qt's forward slashes; the file keeps the
    // system's own form of the path.
    assign(index, QFile::encodeName(QDir::toNativeSeparators(name)));
}

} // namespace skylane
