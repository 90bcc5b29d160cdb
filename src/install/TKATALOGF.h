#pragma once

#include "install/WyborKatalogu.h"

#include <QDialog>
#include <QList>

#include <memory>

class QLineEdit;
class QRadioButton;
class QToolButton;

namespace Ui {
class TKATALOGF;
}

namespace rawen {

class OknoPostepu;

// "Katalog danych": asks where the office's data is, at the first start and whenever the user
// wants another data root. Each choice is a row of the form (its option, its folder and the
// button that looks for one); "Otwórz" carries the chosen one out and remembers it, and the
// window closes only on a data root that can be opened.
class TKATALOGF : public QDialog
{
    Q_OBJECT

public:
    // `domowy` is the user's home folder, where the folders it suggests are.
    explicit TKATALOGF(const QString &domowy, QWidget *parent = nullptr);
    ~TKATALOGF() override;

    // Why the window asks again (the remembered data root `zapamietany` is gone), shown above
    // the choices; the remembered one is offered as the existing data root.
    void ustawUwage(const QString &uwaga, const QString &zapamietany);
    // Opened to change the data root the program works on: that one is chosen to begin with, and
    // the window closes without ending the program.
    void ustawObecny(const QString &katalog);

    // Where the conversion of an old data root shows its steps.
    void ustawOknoPostepu(OknoPostepu *postep) { m_postep = postep; }

    // The data root chosen and opened; empty until "Otwórz" succeeded.
    QString katalog() const { return m_katalog; }

public slots:
    void BOTWORZClick();

private:
    struct Wiersz
    {
        RodzajWyboru rodzaj;
        QRadioButton *opcja;
        QLineEdit *sciezka;
        QToolButton *szukaj;
    };
    void wybierz(const Wiersz &wiersz);
    void odswiez();
    void szukaj(const Wiersz &wiersz);

    std::unique_ptr<Ui::TKATALOGF> ui;
    QList<Wiersz> m_wiersze;
    QString m_domowy;
    QString m_katalog;
    OknoPostepu *m_postep = nullptr;
};

} // namespace rawen
