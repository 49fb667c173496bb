#include "bar/SaveFailureNotice.h"

#include "ProductInfo.h"
#include "core/ConfigWriter.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace skylane {

namespace {

// Beside the bar rather than over it, so the change the message speaks of
// stays in view: below it, or above where the screen ends.
void placeClearOf(QWidget *message, const QWidget *bar)
{
    if (!bar || !bar->isVisible())
        return;
    constexpr int kGap = 8, kTitleBar = 32; // the window manager's title bar, not known before mapping
    message->adjustSize();
    const QRect place = bar->frameGeometry();
    const QRect screen = bar->screen()->availableGeometry();
    // A window not yet shown is placed by its client area; its title goes above.
    const int below = place.bottom() + kGap + kTitleBar;
    const int top = below + message->height() <= screen.bottom() ? below : place.top() - kGap - message->height();
    const int left = std::clamp(place.center().x() - message->width() / 2, screen.left(),
                                std::max(screen.left(), screen.right() - message->width()));
    message->move(left, std::max(top, screen.top()));
}

} // namespace

SaveFailureNotice::SaveFailureNotice(QWidget *owner, ConfigWriter &writer) : m_owner(owner)
{
    connect(&writer, &ConfigWriter::saveFailed, this, &SaveFailureNotice::tell);
}

SaveFailureNotice::~SaveFailureNotice()
{
    delete m_message;
}

void SaveFailureNotice::tell(const QByteArray &path, const QString &reason)
{
    m_text = tr("Sky Lane could not save your change to\n%1\n\n%2.\n\n"
                "The bar keeps the change and saves it with the next change that can be written.")
                 .arg(QDir::toNativeSeparators(QFile::decodeName(path)), reason);
    if (m_message) {
        m_message->setText(m_text);
        return;
    }
    // Shown from the event loop: one message for the save, after the bar.
    if (!std::exchange(m_due, true))
        QMetaObject::invokeMethod(this, &SaveFailureNotice::show, Qt::QueuedConnection);
}

void SaveFailureNotice::show()
{
    m_due = false;
    m_message = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(product::kProductName), m_text,
                                QMessageBox::Ok, m_owner);
    m_message->setAttribute(Qt::WA_DeleteOnClose);
    m_message->setWindowModality(Qt::NonModal);
    m_message->setEscapeButton(QMessageBox::Ok);
    placeClearOf(m_message, m_owner);
    m_message->show();
    m_message->raise();
    m_message->activateWindow();
}

} // namespace skylane
