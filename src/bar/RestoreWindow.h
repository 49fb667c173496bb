#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace skylane {

class BarWindow;

// The restore window `taskbutton`: while the bar is out of the top layer it
// stands minimized on the taskbar as "Ulvo's Launch Bar". Restoring it
// from there brings the bar back to the front and on top, and closes it.
// One instance serves the whole run.
class RestoreWindow : public QWidget {
    Q_OBJECT
public:
    explicit RestoreWindow(BarWindow &bar);
    ~RestoreWindow() override;

    // Shows the window minimized, loading it afresh when it was closed; an
    // entry already on the taskbar stays as it is.
    void showEntry();

    QLabel *Label1() const { return m_label1; }
    QTimer *Timer1() const { return m_timer1; }
    int ResizeCount() const { return m_resizeCount; }

    // A resize notification: the window coming up, and each change of its
    // state out of or into minimized (the user restoring it).
    void Form_Resize();
    void Timer1_Timer();

protected:
    bool event(QEvent *event) override;

private:
    BarWindow &m_bar;
    QLabel *m_label1 = nullptr;
    QTimer *m_timer1 = nullptr;
    qint16 m_resizeCount = 0;
};

} // namespace skylane
