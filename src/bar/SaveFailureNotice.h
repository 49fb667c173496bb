#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <QMessageBox>

namespace skylane {

class ConfigWriter;

// Tells the user at once when a change could not be saved: a message
// window naming the file and the system's reason, closed with Return or
// Escape. It never stacks: while one is open, a later failure only updates
// it. It appears once the event loop runs, so a failure during the start
// is told after the bar shows.
class SaveFailureNotice : public QObject {
    Q_OBJECT
public:
    SaveFailureNotice(QWidget *owner, ConfigWriter &writer);
    ~SaveFailureNotice() override;

    // The message window while it is open, else nullptr.
    QMessageBox *message() const { return m_message; }

private:
    void tell(const QByteArray &path, const QString &reason);
    void show();

    QWidget *m_owner;
    QPointer<QMessageBox> m_message;
    QString m_text;
    bool m_due = false;
};

} // namespace skylane
