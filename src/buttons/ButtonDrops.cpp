#include "buttons/ButtonDrops.h"

#include "bar/BarWindow.h"
#include "buttons/ButtonActions.h"
#include "buttons/BarModel.h"
#include "platform/Services.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace skylane {

ButtonDrops::ButtonDrops(BarWindow &bar, BarModel &model, ButtonActions &actions, ProgramLauncher &launcher)
    : m_bar(bar), m_actions(actions), m_model(model), m_launcher(launcher)
{
    m_bar.setAcceptDrops(true);
    m_bar.installEventFilter(this);
}

QByteArrayList ButtonDrops::filesOf(const QMimeData *data)
{
    QByteArrayList files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return {};
#ifdef Q_OS_WIN
        // Windows names files in UTF-16: the path is its ANSI form, with
        // backslashes and without the address's slash before the drive. A
        // name the code page cannot hold names no file in that form.
        const QString native = QDir::toNativeSeparators(url.toLocalFile());
        const QByteArray file = native.toLocal8Bit();
        if (QString::fromLocal8Bit(file) != native)
            return {};
#else
        // The address's own bytes, so that a name the locale cannot decode
        // still names its file.
        const QByteArray file = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
#endif
        files << file;
    }
    return files;
}

QByteArrayList ButtonDrops::programsOf(const QByteArrayList &files) const
{
    QByteArrayList programs;
    for (const QByteArray &file : files) {
        const QByteArray program = m_launcher.programForFile(file);
        if (program.isEmpty())
            return {};
        programs << program;
    }
    return programs;
}

int ButtonDrops::target(QPoint pos) const
{
    if (m_files.isEmpty() || m_model.showsExitCategory())
        return -1;
    const ProgramButton *button = nullptr;
    for (QWidget *w = m_bar.childAt(pos); w && w != &m_bar && !button; w = w->parentWidget())
        button = qobject_cast<ProgramButton *>(w);
    // Files that are not all programs are opened with a button's program.
    if (m_dragged.isEmpty())
        return button && !m_model.entry(button->index()).isEmpty() ? button->index() : -1;
    if (button)
        return m_dragged.size() == 1 ? button->index() : -1;
    return m_model.count() + m_dragged.size() <= BarModel::kMaxAdded ? 0 : -1;
}

bool ButtonDrops::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != &m_bar || (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
        return QObject::eventFilter(watched, event);
    auto *drag = static_cast<QDropEvent *>(event);
    if (type == QEvent::DragEnter) {
        m_files = filesOf(drag->mimeData());
        m_dragged = programsOf(m_files);
    }
    const int index = target(drag->position().toPoint());
    if (index < 0) {
        drag->ignore();
        return true;
    }
    drag->acceptProposedAction();
    if (type == QEvent::Drop) {
        // After the drag has ended: the question a reassignment may ask is
        // a window of its own, and the dragging program waits for our answer.
        QTimer::singleShot(0, this, [this, index, programs = m_dragged, files = m_files] {
            if (programs.isEmpty())
                m_actions.openFiles(index, files);
            else
                take(index, programs);
        });
        m_dragged.clear();
        m_files.clear();
    }
    return true;
}

void ButtonDrops::take(int index, const QByteArrayList &programs)
{
    if (m_model.showsExitCategory())
        return;
    if (index > 0) {
        m_actions.giveProgram(index, programs.constFirst());
        return;
    }
    if (m_model.count() + programs.size() > BarModel::kMaxAdded)
        return;
    for (const QByteArray &program : programs)
        if (const int added = m_model.appendBlank())
            m_actions.giveProgram(added, program);
}

} // namespace skylane
