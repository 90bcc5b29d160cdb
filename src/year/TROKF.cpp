#include "year/TROKF.h"

#include "data/WartosciProgramu.h"
#include "format/Liczebniki.h"
#include "platform/MessageBoxes.h"
#include "platform/OknoPostepu.h"
#include "platform/QueuedInput.h"
#include "ui_TROKF.h"

#include <QDir>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>

namespace rawen {

TROKF::TROKF(WartosciProgramu &wartosci, Session &sesja, OknoPostepu *postep, QWidget *parent)
    : QDialog(parent), TS(&sesja), ui(std::make_unique<Ui::TROKF>()), m_wartosci(wartosci),
      m_postep(postep)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TROKF::BitBtn1Click);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TROKF::BitBtn2Click);
}

TROKF::~TROKF() = default;

void TROKF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TROKF::FormShow()
{
    bool liczba = false;
    const int rok = m_wartosci.rokRoboczy.toInt(&liczba);
    ui->EROK->setText(liczba ? QString::number(rok + 1) : QString());
    ui->SROK->setText(m_wartosci.rokRoboczy);
    ui->EDR->setText(m_wartosci.katalogDanych);
    // What an earlier run or a firm creation logged is no part of what comes now.
    ui->EMEMO->clear();
    if (const QScreen *ekran = screen())
        move(ekran->availableGeometry().center() - rect().center());
}

void TROKF::loguj(const QString &linia)
{
    ui->EMEMO->appendPlainText(linia);
    // The copy runs inside the click; the memo shows each line as it comes, the last one in view.
    QScrollBar *przewijanie = ui->EMEMO->verticalScrollBar();
    przewijanie->setValue(przewijanie->maximum());
    ui->EMEMO->repaint();
}

WynikKopii TROKF::KopiujKatalog(const QString &zrodlo, const QString &cel)
{
    const PrzebiegKopii przebieg{[this](const QString &linia) { loguj(linia); }, nullptr};
    return KopiujKatalogISprawdz(TS, zrodlo, cel, przebieg);
}

QWidget *TROKF::DANE() const
{
    return ui->DANE;
}

void TROKF::BitBtn1Click()
{
    QString katalog = ui->EDR->text();
    if (!katalog.isEmpty() && !katalog.endsWith(QDir::separator()))
        katalog += QDir::separator();
    ui->EDR->setText(katalog);
    const QString rok = ui->EROK->text().trimmed();
    const QString zRoku = ui->SROK->text().trimmed();
    for (const QString &r : {rok, zRoku}) {
        if (const QString blad = BladRoku(r); !blad.isEmpty()) {
            MessageBoxes::current().error(blad + QStringLiteral("\rNic nie zostało utworzone."));
            return;
        }
    }

    ui->EMEMO->clear();
    // A click on START while the year is being made would start it again once it ends: the
    // button is off meanwhile, and what was clicked meanwhile is dropped.
    ui->BitBtn1->setEnabled(false);
    ui->BitBtn1->repaint();
    const auto wlacz = qScopeGuard([this] {
        discardQueuedInput(this);
        ui->BitBtn1->setEnabled(true);
    });

    if (m_postep)
        m_postep->Start(windowTitle(), qMax(1, LiczbaTabel(katalog + zRoku)));
    const PrzebiegKopii przebieg{[this](const QString &linia) { loguj(linia); }, m_postep};
    m_wynik = OtworzRok(
        TS, katalog, rok, zRoku, przebieg,
        [] {
            return MessageBoxes::current().question(
                QStringLiteral("Błąd otwarcia roku. Kontynuacja może doprowadzić do utarty "
                               "danych.\rCzy kontynuować ?"));
        },
        &m_wartosci);
    if (m_postep)
        m_postep->Stop();

    // A year that is not whole must not pass for opened.
    const QStringList bledy = m_wynik.bledy();
    if (!m_wynik.przerwane && !bledy.isEmpty()) {
        const QString ile = Liczebnik(bledy.size(), liczebniki::blad);
        QString tekst =
            !m_wynik.bladKrytyczny.isEmpty()
                ? QStringLiteral("Otwarcie roku %1 zostało przerwane:").arg(rok)
                : (m_wynik.nowyKatalog
                       ? QStringLiteral("Rok %1 nie został otwarty (%2):").arg(rok, ile)
                       : QStringLiteral("Rok %1 został otwarty z błędami (%2):").arg(rok, ile));
        for (qsizetype i = 0; i < bledy.size() && i < 10; ++i)
            tekst += u'\r' + bledy[i];
        if (bledy.size() > 10)
            tekst += QStringLiteral("\r... (pozostałe w dzienniku okna)");
        tekst += m_wynik.nowyKatalog
                     ? QStringLiteral("\rKatalog roku nie został utworzony: po usunięciu przyczyny "
                                      "otwórz rok ponownie.")
                     : QStringLiteral("\rRok nie jest kompletny.");
        MessageBoxes::current().error(tekst);
    }
    if (!m_wynik.ostrzezenia.isEmpty()) {
        QString tekst = QStringLiteral("Uwaga:");
        for (const QString &ostrzezenie : std::as_const(m_wynik.ostrzezenia))
            tekst += u'\r' + ostrzezenie;
        MessageBoxes::current().warning(tekst);
    }
}

void TROKF::BitBtn2Click()
{
    close();
}

} // namespace rawen
