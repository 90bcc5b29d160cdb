#pragma once

#include <QDialog>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

#include <memory>

namespace Ui {
class TARCHF1;
}

namespace rawen {

// "Wyszukiwanie katalogu": a tree of folders only, from the top of the file system down. It has
// no buttons: the user selects a folder and closes the window.
class TARCHF1 : public QDialog
{
    Q_OBJECT

public:
    explicit TARCHF1(QWidget *parent = nullptr);
    ~TARCHF1() override;

    // The full path of the folder selected in the tree, in the system's own spelling; empty when
    // none is selected.
    QString wybranyKatalog() const;
    // Selects `katalog` in the tree and shows it.
    void wybierz(const QString &katalog);

private:
    // Reads the folder of `galaz` again when it is opened.
    void odswiez(const QModelIndex &galaz);

    std::unique_ptr<Ui::TARCHF1> ui;
    QFileSystemModel m_model;
    QSortFilterProxyModel m_porzadek;
};

} // namespace rawen
