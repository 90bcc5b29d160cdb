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
    // The tree keeps its folders in order through a sorting proxy: the model itself puts a
    // folder added after its first reading last.
    m_porzadek.setSourceModel(&m_model);
    m_porzadek.setSortCaseSensitivity(Qt::CaseInsensitive);
    m_porzadek.setSortLocaleAware(true);
    m_porzadek.sort(0);
    ui->EKATALOG->setModel(&m_porzadek);
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
    return QDir::toNativeSeparators(m_model.filePath(m_porzadek.mapToSource(wybrane.first())));
}

void TARCHF1::odswiez(const QModelIndex &galaz)
{
    const QString sciezka = m_model.filePath(m_porzadek.mapToSource(galaz));
    if (sciezka.isEmpty())
        return;
    // Naming a folder to the model adds it at once, if it is new; what the model holds already
    // stays as it is.
    const QStringList podkatalogi =
        QDir(sciezka).entryList(QDir::AllDirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &podkatalog : podkatalogi)
        (void)m_model.index(QDir(sciezka).filePath(podkatalog));
}

void TARCHF1::wybierz(const QString &katalog)
{
    const QPersistentModelIndex folder = m_model.index(katalog);
    if (!folder.isValid())
        return;
    // Opening a folder reads it and puts the tree in order again: the places are asked for anew.
    QList<QPersistentModelIndex> wyzej;
    for (QModelIndex rodzic = folder.parent(); rodzic.isValid(); rodzic = rodzic.parent())
        wyzej.prepend(rodzic);
    for (const QPersistentModelIndex &rodzic : std::as_const(wyzej))
        ui->EKATALOG->expand(m_porzadek.mapFromSource(rodzic));
    const QModelIndex indeks = m_porzadek.mapFromSource(folder);
    ui->EKATALOG->setCurrentIndex(indeks);
    ui->EKATALOG->scrollTo(indeks);
}

} // namespace rawen
