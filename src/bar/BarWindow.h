#pragma once

#include "buttons/BarModel.h"
#include "core/ColorValue.h"
#include "core/Twips.h"
#include "widgets/Controls.h"

#include <QWidget>

#include <array>

class QAction;
class QMenu;
class QTimer;

namespace skylane {

class DialogChoices;
class Dialogs;

// The popup menu tree of the bar, each command named for what it does.
struct BarMenus {
    QMenu *mainMenu = nullptr;
    QMenu *backgroundMenu = nullptr;
    QAction *chooseBackgroundColor = nullptr;
    QAction *matchActiveBar = nullptr;
    QAction *matchInactiveBar = nullptr;
    QAction *matchBorders = nullptr;
    QAction *matchDesktop = nullptr;
    QMenu *fontMenu = nullptr;
    QAction *chooseCaptionFont = nullptr;
    QAction *chooseCaptionColor = nullptr;
    QAction *hideMenu = nullptr;
    QMenu *typeMenu = nullptr;
    // The "Type" commands, by their category's place in the table.
    std::array<QAction *, 13> showCategory{};
    QAction *about = nullptr;
};

// The bar window: a borderless strip holding the category caption, the
// status light, the "MENU" label, the drag handle, the add/remove images
// and the row of program buttons (ButtonRow). It shows what the model says
// of the category, the status light and the add/remove control; what the
// controls do is wired up by the subsystems that own the behaviour. Its
// position and size are kept in twips.
class BarWindow : public QWidget {
    Q_OBJECT
public:
    BarWindow(const BarModel &model, const SystemColors &scheme, Dialogs &dialogs, QWidget *parent = nullptr);
    ~BarWindow() override;

    ColorLabel *caption() const { return m_caption; }
    ColorLabel *menuLabel() const { return m_menuLabel; }
    PictureBox *adderImage(BarModel::Adder image) const { return m_adder.at(size_t(image)); }
    const std::array<PictureBox *, 3> &adderImages() const { return m_adder; }
    PictureBox *dragHandle() const { return m_dragHandle; }
    PictureBox *statusLight(BarModel::Lamp lamp) const { return m_statusLight.at(size_t(lamp)); }
    const std::array<PictureBox *, 3> &statusLights() const { return m_statusLight; }
    // Ticks while the status light counts down back to the top layer.
    QTimer *blinkTimer() const { return m_blinkTimer; }
    // The open, colour and font dialogs with the choices they keep.
    DialogChoices *dialogChoices() const { return m_dialogChoices; }

    // The popup menu tree, built when first asked for (it is not on screen
    // at start); its commands are wired through menusCreated().
    const BarMenus &menus();
    // The "Type" menu lists the table's categories, Text before System.
    static const std::array<int, 13> &typeMenuOrder();

    // Window geometry in twips, screen coordinates.
    double leftTwips() const { return m_leftTwips; }
    double topTwips() const { return m_topTwips; }
    void moveTwips(double left, double top);
    int widthTwips() const { return m_widthTwips; }
    int heightTwips() const { return m_heightTwips; }
    void resizeTwips(int width, int height);

    ColorValue backColor() const { return m_backColor; }
    void setBackColor(ColorValue color);

    const SystemColors &systemColors() const { return m_scheme; }

signals:
    // The menu tree now exists: the subsystems connect its commands.
    void menusCreated(const BarMenus &menus);

protected:
    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createControls(Dialogs &dialogs);
    void createMenus();
    void applyGeometry();
    void showAdder(BarModel::Adder shown);
    void showLamp(BarModel::Lamp shown);

    const SystemColors &m_scheme;
    QTimer *m_blinkTimer = nullptr;
    DialogChoices *m_dialogChoices = nullptr;
    ColorLabel *m_caption = nullptr;
    ColorLabel *m_menuLabel = nullptr;
    std::array<PictureBox *, 3> m_adder{};
    PictureBox *m_dragHandle = nullptr;
    std::array<PictureBox *, 3> m_statusLight{};
    BarMenus m_menus;

    double m_leftTwips = 5100;
    double m_topTwips = 4620;
    int m_widthTwips = 1455;
    int m_heightTwips = 345;
    ColorValue m_backColor = systemColor(syscolor::Desktop);
};

} // namespace skylane
