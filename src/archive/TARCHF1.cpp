#include "archive/TARCHF1.h"

#include "ui_TARCHF1.h"

#include <QDir>

namespace rawen {

TARCHF1::TARCHF1(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::TARCHF1>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // Folders only, with the system's icons. The tree is not watched; a folder is read again each
    // time it is opened, so one made since (by the user, for an archive) is there.
    m_model.setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_model.setOption(QFileSystemModel::DontWatchForChanges);
    m_model.setReadOnly(true);
    m_model.setRootPath(QString());
    ui->EKATALOG->setModel(&m_model);
    for (int kolumna = 1; kolumna < m_model.columnCount(); ++kolumna)
        ui->EKATALOG->hideColumn(kolumna);
    // A right click selects the folder under the pointer, as a left one does.
    connect(ui->EKATALOG, &QWidget::customContextMenuRequested, this, [this](const QPoint &gdzie) {
        const QModelIndex indeks = ui->EKATALOG->indexAt(gdzie);
        if (indeks.isValid())
            ui->EKATALOG->setCurrentIndex(indeks);
    });
    connect(ui->EKATALOG, &QTreeView::expanded, this, &TARCHF1::odswiez);
    wybierz(QDir::homePath());
    ui->EKATALOG->clearSelection();
}

TARCHF1::~TARCHF1() = default;

QString TARCHF1::wybranyKatalog() const
{
    const QModelIndexList wybrane = ui->EKATALOG->selectionModel()->selectedIndexes();
    if (wybrane.isEmpty())
        return QString();
    return QDir::toNativeSeparators(m_model.filePath(wybrane.first()));
}

void TARCHF1::odswiez(const QModelIndex &galaz)
{
    const QString sciezka = m_model.filePath(galaz);
    if (sciezka.isEmpty())
        return;
    // Naming a folder to the model adds it at once, if it is new; what the model holds already
    // stays as it is.
    const QStringList podkatalogi =
        QDir(sciezka).entryList(QDir::AllDirs | QDir::NoDotAndDotDot, QDir::Name);
    const int przed = m_model.rowCount(galaz);
    for (const QString &podkatalog : podkatalogi)
        (void)m_model.index(QDir(sciezka).filePath(podkatalog));
    // A folder added so comes last until the tree is put in order again; the model sorts only
    // when asked for another order than the one it keeps.
    if (m_model.rowCount(galaz) != przed) {
        m_model.sort(0, Qt::DescendingOrder);
        m_model.sort(0, Qt::AscendingOrder);
    }
}

void TARCHF1::wybierz(const QString &katalog)
{
    // A path field ends with its separator once an action has run.
    const QModelIndex indeks = m_model.index(QDir::cleanPath(katalog));
    if (!indeks.isValid())
        return;
    for (QModelIndex wyzej = indeks.parent(); wyzej.isValid(); wyzej = wyzej.parent())
        ui->EKATALOG->expand(wyzej);
    ui->EKATALOG->setCurrentIndex(indeks);
    ui->EKATALOG->scrollTo(indeks);
}

} // namespace rawen
