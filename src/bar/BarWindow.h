#pragma once

#include "core/ColorValue.h"
#include "core/Twips.h"
#include "widgets/Controls.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <array>

class QAction;
class QComboBox;
class QMenu;
class QTimer;

namespace skylane {

class CommonDialog;
class Dialogs;

// The popup menu tree of the bar, entry by entry.
struct BarMenus {
    QMenu *titleMainMenu = nullptr;
    QMenu *mnuBackground = nullptr;
    QAction *mnuBGColor = nullptr;
    QAction *mnuColrMatch = nullptr;
    QAction *mnuColrMatchInact = nullptr;
    QAction *mnuColrApplic = nullptr;
    QAction *mnuColrDesktop = nullptr;
    QMenu *mnuFont = nullptr;
    QAction *mnuFontName = nullptr;
    QAction *mnuFontColor = nullptr;
    QAction *mnuHide = nullptr;
    QMenu *mnuType = nullptr;
    QAction *mnuAudio = nullptr;
    QAction *mnuGame = nullptr;
    QAction *mnuGrap = nullptr;
    QAction *mnuInet = nullptr;
    QAction *mnuMisc = nullptr;
    QAction *mnuPacks = nullptr;
    QAction *mnuText = nullptr;
    QAction *mnuSys = nullptr;
    QAction *mnuTools = nullptr;
    QAction *mnuUtils = nullptr;
    QAction *mnuVideo = nullptr;
    QAction *mnuWork = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuAbout = nullptr;
};

// The bar window `main`: a borderless strip holding the category caption,
// the status light, the "MENU" label, the drag handle, the add/remove images
// and the row of program buttons. It declares its controls with their
// initial state; what they do is wired up by the subsystems that own the
// behaviour. Its position and size are kept in twips.
class BarWindow : public QWidget {
    Q_OBJECT
public:
    // The scheme resolves system colours; the dialogs serve `CommonDialog1`.
    BarWindow(const SystemColors &scheme, Dialogs &dialogs, QWidget *parent = nullptr);
    ~BarWindow() override;

    // Controls, named as the program knows them.
    QTimer *Timer1() const { return m_timer1; }
    CommonDialog *CommonDialog1() const { return m_commonDialog1; }
    // The hidden category table, built on first use: only a caption click
    // and the Type menu read it.
    const QComboBox *Combo1();
    ColorLabel *Label1() const { return m_label1; }
    ColorLabel *Label2() const { return m_label2; }
    PictureBox *Image1(int index) const { return m_image1.at(static_cast<size_t>(index)); }
    PictureBox *Image2() const { return m_image2; }
    PictureBox *Image3(int index) const { return m_image3.at(static_cast<size_t>(index)); }

    // The images of the add/remove control, `Image1(index)`, and of the
    // status light, `Image3(index)`; each control shows one at a time.
    enum AdderImage { AdderResting, AdderAdd, AdderRemove };
    enum Lamp { LampUnlit, LampGreen, LampRed };
    const std::array<PictureBox *, 3> &adderImages() const { return m_image1; }
    const std::array<PictureBox *, 3> &lamps() const { return m_image3; }

    // The category the caption shows when the bar is made.
    static constexpr char kFirstCategory[] = "Inet";
    // The category whose buttons end the session: nothing is added to,
    // removed from or dropped on its row.
    static constexpr char kExitCategory[] = "Exit";
    bool showsExitCategory() const;
    // The popup menu tree, built when first asked for (it is not on screen
    // at start); its commands are wired through menusCreated().
    const BarMenus &menus();

    // The button array: element 0 is the hidden template, 1 always exists.
    // Elements are addressed by a 16-bit index.
    static constexpr int kMaxCommand2Index = 32767;
    ProgramButton *Command2(int index) const;
    int command2Count() const { return static_cast<int>(m_command2.size()); }
    // Creates element `index` from the template: same size and style, no
    // picture, no path, hidden. Returns the existing one if already loaded,
    // and nothing past the highest index.
    ProgramButton *loadCommand2(int index);
    // Destroys element `index` (2 or more) at once, or once its own event
    // has been handled when the button is destroying itself.
    void unloadCommand2(int index);

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

    // The category table, in its order (the hidden list, the caption's
    // steps); each entry with its "Type" menu command.
    struct Category {
        const char *name;
        const char *menuName;
        const char *menuCaption;
        QAction *BarMenus::*menuAction;
    };
    static const std::array<Category, 13> &categories();
    // The "Type" menu lists the same entries, Text before System.
    static const std::array<int, 13> &typeMenuOrder();

signals:
    // A button of the row, the caption, the "MENU" label, a picture...
    // each control reports through its own signals; this one tells that
    // a new button joined the row so its release can be wired.
    void command2Loaded(ProgramButton *button);
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
    ProgramButton *createButton(int index);

    const SystemColors &m_scheme;
    QTimer *m_timer1 = nullptr;
    CommonDialog *m_commonDialog1 = nullptr;
    QComboBox *m_combo1 = nullptr;
    ColorLabel *m_label1 = nullptr;
    ColorLabel *m_label2 = nullptr;
    std::array<PictureBox *, 3> m_image1{};
    PictureBox *m_image2 = nullptr;
    std::array<PictureBox *, 3> m_image3{};
    QList<QPointer<ProgramButton>> m_command2;
    BarMenus m_menus;

    double m_leftTwips = 5100;
    double m_topTwips = 4620;
    int m_widthTwips = 1455;
    int m_heightTwips = 345;
    ColorValue m_backColor = systemColor(syscolor::Desktop);
};

} // namespace skylane
