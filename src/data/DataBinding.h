#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace rawen {

class DataSource;
class Table;

// Data-aware controls: line edits, editable combo boxes and check boxes that show a field of
// their data source's current record and write it back, as the old forms' controls did.
//
// - A bound control shows its field of the current record as every view shows it (its display
//   text: "1 230,00" for an amount) whenever the table moves, changes a value or its state,
//   unless it holds a change of its own that is not written yet.
// - The first change to a control puts the table into editing; a table without a record gets its
//   first record appended.
// - A control writes its field when the keyboard focus leaves it for another control, and only
//   then is `exited` emitted, so a form's handler finds the field written; updateRecord() writes
//   whatever a control still holds (a form calls it before it posts).
// - An edit takes at most as many characters as its text field holds, a whole-number field only
//   digits and a sign, a number field also spaces between thousands and one decimal point or
//   comma, an amount no more decimals than it shows; what it shows is taken back with or without
//   the spaces, with a comma or a point. A read-only edit is never written. A drop-down's item
//   is cut to the field's width when it is chosen.
// - A text that a control's check refuses (a date that cannot exist) is never written: the user
//   is told why and the control shows its field again, as for a value the field itself refuses.
class DataBinding : public QObject
{
    Q_OBJECT

public:
    explicit DataBinding(QObject *parent = nullptr);
    ~DataBinding() override;

    // Binds `control` (a QLineEdit, an editable QComboBox or a QCheckBox) to the field
    // `fieldName` of `source`.
    void bind(QWidget *control, DataSource *source, const QString &fieldName);
    // Binds every child of `form` that carries the dynamic properties "DataSource" (a key of
    // `sources`) and "DataField", as a form's .ui file gives them.
    void bindChildren(QWidget *form, const QHash<QString, DataSource *> &sources);

    // A check of what `control` holds before it is written: the message for the user about a text
    // the field must not take, "" for one it may.
    using Check = std::function<QString(const QString &text)>;
    void setCheck(QWidget *control, const Check &check);

    // Every control shows its field of the current record again.
    void refresh();
    // Every control that holds a change writes it to its field.
    void updateRecord();

    // The field a control is bound to; empty for one that is not bound.
    QString fieldName(const QWidget *control) const;

signals:
    // The keyboard focus left `control`, which has written its field.
    void exited(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Link
    {
        QPointer<QWidget> control;
        DataSource *source = nullptr;
        QString field;
        bool modified = false;
        bool configured = false;
        Check check;
    };

    Link *linkOf(const QObject *control);
    void watch(Table *table);
    void show(Link &link);
    void configure(Link &link, Table &table);
    void changed(QWidget *control);
    void write(Link &link);

    std::vector<Link> m_links;
    QHash<Table *, QPointer<Table>> m_watched;
};

} // namespace rawen
