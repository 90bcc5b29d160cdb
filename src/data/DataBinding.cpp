#include "data/DataBinding.h"

#include "data/DataSource.h"
#include "data/Table.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"
#include "store/FieldValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace rawen {

namespace {

bool wholeNumber(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
        return true;
    default:
        return false;
    }
}

bool number(TFieldType type)
{
    switch (type) {
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

bool text(TFieldType type)
{
    return type == ftString || type == ftFixedChar || type == ftWideString;
}

QLineEdit *editOf(QWidget *control)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return edit;
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->lineEdit();
    return nullptr;
}

} // namespace

DataBinding::DataBinding(QObject *parent) : QObject(parent)
{}

DataBinding::~DataBinding() = default;

DataBinding::Link *DataBinding::linkOf(const QObject *control)
{
    for (Link &link : m_links) {
        if (link.control == control)
            return &link;
    }
    return nullptr;
}

QString DataBinding::fieldName(const QWidget *control) const
{
    for (const Link &link : m_links) {
        if (link.control == control)
            return link.field;
    }
    return {};
}

void DataBinding::bind(QWidget *control, DataSource *source, const QString &fieldName)
{
    Link link;
    link.control = control;
    link.source = source;
    link.field = fieldName;
    m_links.push_back(link);
    control->installEventFilter(this);
    if (auto *combo = qobject_cast<QComboBox *>(control)) {
        // A typed text stays as it is; it is not added to the items.
        combo->setInsertPolicy(QComboBox::NoInsert);
        connect(combo, &QComboBox::activated, this, [this, control] { changed(control); });
    }
    if (QLineEdit *edit = editOf(control))
        connect(edit, &QLineEdit::textEdited, this, [this, control] { changed(control); });
    if (auto *box = qobject_cast<QCheckBox *>(control))
        connect(box, &QCheckBox::clicked, this, [this, control] { changed(control); });
    if (source)
        watch(source->dataSet());
    show(m_links.back());
}

void DataBinding::setCheck(QWidget *control, const Check &check)
{
    if (Link *link = linkOf(control))
        link->check = check;
}

void DataBinding::bindChildren(QWidget *form, const QHash<QString, DataSource *> &sources)
{
    const QList<QWidget *> children = form->findChildren<QWidget *>();
    for (QWidget *child : children) {
        const QVariant field = child->property("DataField");
        if (!field.isValid())
            continue;
        bind(child, sources.value(child->property("DataSource").toString()), field.toString());
    }
}

void DataBinding::watch(Table *table)
{
    if (!table || m_watched.value(table))
        return;
    m_watched.insert(table, table);
    connect(table, &Table::dataChanged, this, &DataBinding::refresh);
}

void DataBinding::refresh()
{
    for (Link &link : m_links) {
        if (!link.modified)
            show(link);
    }
}

void DataBinding::configure(Link &link, Table &table)
{
    const int index = table.fieldIndex(link.field);
    QLineEdit *edit = editOf(link.control);
    if (index < 0 || !edit)
        return;
    const FieldDef &definition = table.fieldDefs().at(index);
    if (text(definition.dataType) && definition.size > 0) {
        edit->setMaxLength(definition.size);
    } else if (wholeNumber(definition.dataType)) {
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[-+]?[0-9]*")), edit));
        edit->setMaxLength(definition.dataType == ftLargeint ? 20 : 11);
    } else if (number(definition.dataType)) {
        // What the field shows can be typed back: thousands parted by spaces (a no-break one
        // when pasted), and no more decimals than an amount shows.
        const int decimals = FieldValues::amountDecimals(definition);
        const QString fraction = decimals < 0   ? QStringLiteral("([.,][0-9]*)?")
                                 : decimals > 0 ? QStringLiteral("([.,][0-9]{0,%1})?").arg(decimals)
                                                : QString();
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[-+]?[0-9 \\x{00A0}\\x{202F}]*") + fraction), edit));
    }
    link.configured = true;
}

void DataBinding::show(Link &link)
{
    QWidget *control = link.control;
    if (!control)
        return;
    Table *table = link.source ? link.source->dataSet() : nullptr;
    watch(table);
    QString value;
    bool checked = false;
    if (table && table->isOpen()) {
        if (!link.configured)
            configure(link, *table);
        try {
            const Field field = table->findField(link.field);
            if (field.isValid()) {
                value = field.displayText();
                if (qobject_cast<QCheckBox *>(control))
                    checked = !field.isNull() && field.asBoolean();
            }
        } catch (const EngineError &) {
            // A value this control cannot show shows as empty.
        }
    }
    if (auto *box = qobject_cast<QCheckBox *>(control)) {
        box->setChecked(checked);
        return;
    }
    QLineEdit *edit = editOf(control);
    // Setting the same text again would move the cursor of the control being typed in.
    if (edit && edit->text() != value)
        edit->setText(value);
}

void DataBinding::changed(QWidget *control)
{
    Link *link = linkOf(control);
    if (!link || link->modified)
        return;
    Table *table = link->source ? link->source->dataSet() : nullptr;
    if (!table || !table->isOpen()) {
        // Nothing to edit: the control goes back to showing nothing.
        show(*link);
        return;
    }
    // Marked first: putting the table into editing refreshes every other control, not this one.
    link->modified = true;
    try {
        table->edit();
    } catch (const EngineError &error) {
        link->modified = false;
        show(*link);
        MessageBoxes::current().error(error.message());
    }
}

void DataBinding::write(Link &link)
{
    if (!link.modified)
        return;
    link.modified = false;
    QWidget *control = link.control;
    Table *table = link.source ? link.source->dataSet() : nullptr;
    if (!control || !table || !table->isOpen())
        return;
    if (QLineEdit *edit = editOf(control); edit && link.check) {
        if (const QString refused = link.check(edit->text()); !refused.isEmpty()) {
            show(link);
            MessageBoxes::current().error(refused);
            return;
        }
    }
    try {
        table->edit();
        Field field = table->fieldByName(link.field);
        if (auto *box = qobject_cast<QCheckBox *>(control))
            field.setAsBoolean(box->isChecked());
        else if (QLineEdit *edit = editOf(control))
            field.setAsString(edit->text());
    } catch (const EngineError &error) {
        show(link);
        MessageBoxes::current().error(error.message());
    }
    // The control shows what the field keeps (a drop-down's item cut to the field's width).
    show(link);
}

void DataBinding::updateRecord()
{
    for (Link &link : m_links)
        write(link);
}

bool DataBinding::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // A drop-down's list or a menu opening, another window taking the keyboard or the window
        // going away does not leave the control.
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && widget &&
            widget->window()->isVisible()) {
            if (Link *link = linkOf(watched)) {
                write(*link);
                if (QWidget *control = link->control)
                    emit exited(control);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace rawen
