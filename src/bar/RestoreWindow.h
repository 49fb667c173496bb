#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace skylane {

class BarModel;
class BarWindow;

// The restore window `taskbutton`: while the bar is out of the top layer it
// stands minimized on the taskbar as "Ulvo's Launch Bar". Restoring it
// from there brings the bar back to the front and on top, and closes it.
// One instance serves the whole run.
class RestoreWindow : public QWidget {
    Q_OBJECT
public:
    RestoreWindow(BarWindow &bar, BarModel &model);
    ~RestoreWindow() override;

    // Shows the window minimized, loading it afresh when it was closed; an
    // entry already on the taskbar stays as it is.
    void showEntry();

    QLabel *showLabel() const { return m_showLabel; }
    QTimer *restoreTimer() const { return m_restoreTimer; }
    int resizeCount() const { return m_resizeCount; }

    // A resize notification: the window coming up, and each change of its
    // state out of or into minimized (the user restoring it).
    void onResized();
    void restoreBar();

protected:
    bool event(QEvent *event) override;

private:
    BarWindow &m_bar;
    BarModel &m_model;
    QLabel *m_showLabel = nullptr;
    QTimer *m_restoreTimer = nullptr;
    qint16 m_resizeCount = 0;
};

} // namespace skylane
