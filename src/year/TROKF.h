#pragma once

#include "data/Table.h"
#include "year/OtwarcieRoku.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TROKF;
}

namespace rawen {

class OknoPostepu;
class Session;
struct WartosciProgramu;

// The year-opening window "Otwarcie baz na nowy rok": the year to open, the year it is made
// from and the data directory above, the log below. Firm creation shows it without its top panel
// while it copies a new firm's tables.
class TROKF : public QDialog
{
    Q_OBJECT

public:
    TROKF(WartosciProgramu &wartosci, Session &sesja, OknoPostepu *postep,
          QWidget *parent = nullptr);
    ~TROKF() override;

    // Opens each source table in turn, in the session SESJA.
    Table TS;

    // The directory copy, logging into the window's memo, with the check of what it made, for
    // firm creation.
    WynikKopii KopiujKatalog(const QString &zrodlo, const QString &cel);
    // The top panel with the year-opening controls, which firm creation hides.
    QWidget *DANE() const;
    // What the last START did.
    const WynikOtwarciaRoku &ostatniWynik() const { return m_wynik; }

public slots:
    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void loguj(const QString &linia);

    std::unique_ptr<Ui::TROKF> ui;
    WartosciProgramu &m_wartosci;
    OknoPostepu *m_postep;
    WynikOtwarciaRoku m_wynik;
};

} // namespace rawen
