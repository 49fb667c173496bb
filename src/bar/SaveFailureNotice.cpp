#include "bar/SaveFailureNotice.h"

#include "ProductInfo.h"
#include "core/ConfigWriter.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>

namespace skylane {

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
    m_message->show();
    m_message->raise();
    m_message->activateWindow();
}

} // namespace skylane
