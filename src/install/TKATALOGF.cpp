#include "install/TKATALOGF.h"

#include "install/KatalogDanych.h"
#include "platform/AppContext.h"
#include "platform/FileDialogs.h"
#include "platform/Instalacja.h"
#include "platform/MessageBoxes.h"
#include "platform/Ustawienia.h"
#include "ui_TKATALOGF.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace rawen {

TKATALOGF::TKATALOGF(const QString &domowy, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TKATALOGF>()), m_domowy(domowy)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_wiersze = {
        {RodzajWyboru::Istniejacy, ui->RISTNIEJACY, ui->EISTNIEJACY, ui->BISTNIEJACY},
        {RodzajWyboru::Nowy, ui->RNOWY, ui->ENOWY, ui->BNOWY},
        {RodzajWyboru::Demo, ui->RDEMO, ui->EDEMO, ui->BDEMO},
    };
    ui->LNOWY->setText(QStringLiteral("Dla nowego biura: firma 000, rok %1 i baza, bez żadnych "
                                      "zapisów.")
                           .arg(AppContext::current().today.year()));
    const QString rawen = QDir::toNativeSeparators(QDir(domowy).filePath(QStringLiteral("RAWEN")));
    ui->ENOWY->setText(rawen);
    ui->EDEMO->setText(
        QDir::toNativeSeparators(QDir(domowy).filePath(QStringLiteral("RAWEN-demo"))));
    for (const Wiersz &wiersz : m_wiersze) {
        connect(wiersz.opcja, &QRadioButton::toggled, this, [this, wiersz](bool wlaczona) {
            odswiez();
            if (wlaczona)
                wiersz.sciezka->setFocus();
        });
        connect(wiersz.szukaj, &QToolButton::clicked, this, [this, wiersz] { szukaj(wiersz); });
    }
    connect(ui->BOTWORZ, &QPushButton::clicked, this, &TKATALOGF::BOTWORZClick);
    connect(ui->BZAKONCZ, &QPushButton::clicked, this, &QDialog::reject);
    // A data root already where the window would suggest a new one: the user has been here.
    if (JestKatalogiemDanych(rawen)) {
        ui->EISTNIEJACY->setText(rawen);
        ui->RISTNIEJACY->setChecked(true);
    } else {
        ui->RNOWY->setChecked(true);
    }
    odswiez();
}

TKATALOGF::~TKATALOGF() = default;

void TKATALOGF::ustawUwage(const QString &uwaga, const QString &zapamietany)
{
    ui->LUWAGA->setText(uwaga);
    ui->LUWAGA->setVisible(!uwaga.isEmpty());
    // Offered again: it may be a drive not connected yet.
    if (!zapamietany.isEmpty()) {
        ui->EISTNIEJACY->setText(QDir::toNativeSeparators(zapamietany));
        ui->RISTNIEJACY->setChecked(true);
    }
}

void TKATALOGF::ustawObecny(const QString &katalog)
{
    setWindowTitle(QStringLiteral("RAWEN 2.0 – zmiana katalogu danych"));
    ui->LNAGLOWEK->setText(QStringLiteral("<b>Na którym katalogu danych program ma pracować?</b>"));
    ui->BZAKONCZ->setText(QStringLiteral("&Anuluj"));
    ui->EISTNIEJACY->setText(QDir::toNativeSeparators(QDir::cleanPath(katalog)));
    ui->RISTNIEJACY->setChecked(true);
    odswiez();
}

void TKATALOGF::odswiez()
{
    for (const Wiersz &wiersz : m_wiersze) {
        const bool wybrany = wiersz.opcja->isChecked();
        wiersz.sciezka->setEnabled(wybrany);
        wiersz.szukaj->setEnabled(wybrany);
    }
    ui->ESKROT->setEnabled(ui->RNOWY->isChecked());
    ui->LSKROT->setEnabled(ui->RNOWY->isChecked());
}

void TKATALOGF::szukaj(const Wiersz &wiersz)
{
    const QString obecny = wiersz.sciezka->text().trimmed();
    const QString start =
        QFileInfo(obecny).isDir()
            ? obecny
            : (QFileInfo(QFileInfo(obecny).path()).isDir() ? QFileInfo(obecny).path() : m_domowy);
    const QString wybrany =
        FileDialogs::current().existingDirectory(wiersz.opcja->text().remove(u'&'), start);
    if (!wybrany.isEmpty())
        wiersz.sciezka->setText(QDir::toNativeSeparators(wybrany));
}

void TKATALOGF::BOTWORZClick()
{
    for (const Wiersz &wiersz : m_wiersze) {
        if (!wiersz.opcja->isChecked())
            continue;
        const WyborKatalogu wybor{wiersz.rodzaj, wiersz.sciezka->text(), ui->ESKROT->text()};
        Ustawienia ustawienia;
        // A new root is built without a word; an old one is converted after a question, with
        // the progress window.
        const bool budowa = wiersz.rodzaj != RodzajWyboru::Istniejacy;
        if (budowa)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        const WynikWyboru wynik =
            WykonajWybor(wybor, AppContext::current().today, Instalacja::programModuluDemo(),
                         ustawienia, m_postep);
        if (budowa)
            QApplication::restoreOverrideCursor();
        if (wynik.anulowany) {
            wiersz.sciezka->setFocus();
            return;
        }
        if (!wynik.blad.isEmpty()) {
            MessageBoxes::current().error(wynik.blad);
            wiersz.sciezka->setFocus();
            return;
        }
        if (!wynik.uwaga.isEmpty())
            MessageBoxes::current().warning(wynik.uwaga);
        m_katalog = wynik.katalog;
        accept();
        return;
    }
}

} // namespace rawen
