#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QString>

#include <array>

namespace skylane {

// What the bar holds, without any widget: the category it shows, the row's
// entries in order (each the bytes of a program path, or empty for a blank
// button), the status light and the add/remove control. It changes only
// through operations named for what the user did, and announces each
// change; the windows show it, the category file is written from it.
class BarModel : public QObject {
    Q_OBJECT
public:
    struct Category {
        const char *name;        // the caption and the file's name
        const char *menuCaption; // its "Type" menu command
    };
    // The category table, in the order the caption steps through it.
    static const std::array<Category, 13> &categories();
    static constexpr char kFirstCategory[] = "Inet";
    // Its buttons end the session: nothing is added to, removed from or
    // dropped on its row, and its buttons do not move.
    static constexpr char kExitCategory[] = "Exit";
    // A row holds at most this many entries (16-bit indices); one read from
    // a file stops there.
    static constexpr int kMaxEntries = 32767;
    // Adding (the add image, a drop) stops at this many.
    static constexpr int kMaxAdded = 100;

    enum class Lamp { Unlit, Green, Red };
    enum class Adder { Resting, Add, Remove };

    const QString &category() const { return m_category; }
    bool showsExitCategory() const { return m_category == QLatin1String(kExitCategory); }
    // The table position of the last caption click, apart from the
    // category: a menu choice leaves it where it was.
    int stepPosition() const { return m_stepPosition; }

    // Never below 1: a row without lines is one blank button.
    int count() const { return int(m_entries.size()); }
    const QByteArrayList &entries() const { return m_entries; }
    // Entry `index` (1 to count), empty for a blank button or none.
    QByteArray entry(int index) const;
    // True while the row is the one blank button of a file without lines.
    bool isWithoutLines() const { return m_withoutLines; }

    Lamp lamp() const { return m_lamp; }
    Adder adder() const { return m_adder; }

    // The user chose a category (the "Type" menu); unknown names change
    // nothing. Choosing the one shown shows it anew.
    bool selectCategory(const QString &name);
    // A caption click: the next category of the table after the last one
    // stepped to.
    void stepCategory();
    // The category's lines as read (nothing read: no lines).
    void showRow(QByteArrayList lines);
    // The row of the "Exit" category takes no new, removed or moved entry.
    // A blank button at the end; its index, or 0 at the limit.
    int appendBlank();
    // The last button goes; never the only one.
    bool removeLast();
    void assignProgram(int index, const QByteArray &programPath);
    // Entry `from` takes place `to`; those between close up.
    bool moveEntry(int from, int to);
    void setLamp(Lamp lamp);
    void setAdder(Adder adder);

signals:
    void categoryChanged(const QString &category);
    void rowShown();
    void entryAppended(int index);
    void lastEntryRemoved(int formerCount);
    void entryAssigned(int index);
    void entryMoved(int from, int to);
    void lampChanged(Lamp lamp);
    void adderChanged(Adder adder);

private:
    QString m_category = QLatin1String(kFirstCategory);
    int m_stepPosition = 0;
    QByteArrayList m_entries{QByteArray()};
    bool m_withoutLines = true;
    Lamp m_lamp = Lamp::Green;
    Adder m_adder = Adder::Resting;
};

} // namespace skylane
