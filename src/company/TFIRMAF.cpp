#include "company/TFIRMAF.h"

#include "company/CyfryKontrolne.h"
#include "company/PoczatekRoku.h"
#include "company/UzupelnienieAdresu.h"
#include "data/OtworzTabele.h"
#include "data/TDANE.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"
#include "ui_TFIRMAF.h"

#include <QDir>
#include <QScreen>
#include <QShowEvent>

namespace rawen {

namespace {

// The numbers whose check digits are looked at when their control is left, and what they are
// called in the hint.
struct SprawdzanyNumer
{
    const char *kontrolka;
    const char *nazwa;
    WynikSprawdzenia (*sprawdz)(const QString &);
};

constexpr SprawdzanyNumer kSprawdzaneNumery[] = {
    {"ENIP", "NIP", SprawdzNIP},        {"DBEdit2", "REGON", SprawdzREGON},
    {"DBEdit9", "PESEL", SprawdzPESEL}, {"DBEdit23", "NRB", SprawdzNRB},
    {"DBEdit19", "NRB", SprawdzNRB},    {"DBEdit28", "NRB", SprawdzNRB},
};

void zapisz(Table &tabela)
{
    // A post that fails is reported by ZapiszTabele itself; a flush that fails is reported here,
    // and the window closes all the same.
    try {
        ZapiszTabele(tabela);
    } catch (const EngineError &blad) {
        MessageBoxes::current().error(QStringLiteral("Błąd zapisu\r") + blad.message());
    }
}

} // namespace

TFIRMAF::TFIRMAF(TDANE &dane, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFIRMAF>()), m_dane(dane)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFixedSize(563, 389);
    ui->GroupBox2->hide();
    const QString sciezka = QStringLiteral("Uwaga! Ścieżka dostępu musi kończyć się znakiem \"") +
                            QDir::separator() + u'"';
    ui->DBEdit36->setToolTip(sciezka);
    ui->DBEdit36->setStatusTip(sciezka);
    // The note lies on the scroll-bar colour, like a part of the page.
    QPalette paleta = ui->Memo1->palette();
    paleta.setColor(QPalette::Base, paleta.color(QPalette::Button));
    ui->Memo1->setPalette(paleta);
    for (const SprawdzanyNumer &numer : kSprawdzaneNumery) {
        auto *znak = findChild<QWidget *>(QStringLiteral("Uwaga") + QLatin1String(numer.kontrolka));
        QSizePolicy miejsce = znak->sizePolicy();
        miejsce.setRetainSizeWhenHidden(true);
        znak->setSizePolicy(miejsce);
        znak->hide();
    }

    m_powiazania.bindChildren(this, {{QStringLiteral("ZFIRMA"), &m_dane.ZFIRMA},
                                     {QStringLiteral("ZPARA"), &m_dane.ZPARA}});
    // The working-year check reads the fiscal-year start as a date: one that cannot exist is not
    // stored.
    m_powiazania.setCheck(ui->DBEdit35, BladPoczatkuRoku);
    connect(&m_powiazania, &DataBinding::exited, this, &TFIRMAF::opuszczono);
    connect(ui->STRONY, &QTabWidget::currentChanged, this, [this](int strona) {
        if (ui->STRONY->widget(strona) == ui->STRONA6)
            STRONA6Show();
    });
    // The status bar follows the mouse: every control tells when it is entered and left. (Qt's
    // own status tips reach only a main window's status bar.)
    for (QWidget *kontrolka : findChildren<QWidget *>())
        kontrolka->installEventFilter(this);
}

TFIRMAF::~TFIRMAF() = default;

void TFIRMAF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFIRMAF::FormShow()
{
    if (!m_dane.TFIRMA.isOpen()) {
        // Closed once the window's own loop runs, so that the closing saves nothing.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    ui->STRONY->setCurrentWidget(ui->STRONA1);
    m_powiazania.refresh();
    for (const SprawdzanyNumer &numer : kSprawdzaneNumery)
        findChild<QWidget *>(QStringLiteral("Uwaga") + QLatin1String(numer.kontrolka))->hide();
    ui->StatusBar1->clearMessage();
    // Leaving the control that had the focus when the window last closed is no exit of the user's.
    m_pokazywanie = true;
    ui->ENIP->setFocus(Qt::OtherFocusReason);
    m_pokazywanie = false;
    if (const QScreen *ekran = screen())
        move(ekran->availableGeometry().center() - rect().center());
}

void TFIRMAF::done(int result)
{
    // Saved before the window hides: the control with the focus still holds its text.
    FormClose();
    QDialog::done(result);
}

void TFIRMAF::FormClose()
{
    // What the control with the focus holds goes with the record.
    m_powiazania.updateRecord();
    zapisz(m_dane.TFIRMA);
    zapisz(m_dane.TPARA);
}

void TFIRMAF::STRONA6Show()
{
    const QImage logo = m_logo ? *m_logo : QImage();
    ui->Image1->setPixmap(
        logo.isNull() ? QPixmap()
                      : QPixmap::fromImage(logo.scaled(ui->Image1->size(), Qt::KeepAspectRatio,
                                                       Qt::SmoothTransformation)));
    ui->LabelRys->setText(
        QStringLiteral("Wymiar rysuknku :  %1 / %2").arg(logo.width()).arg(logo.height()));
}

void TFIRMAF::EULICAExit(QWidget *sender)
{
    if (!m_dane.TFIRMA.isOpen())
        return;
    try {
        UzupelnijAdres(m_dane.TFIRMA, sender->objectName().mid(1, 40));
    } catch (const EngineError &blad) {
        MessageBoxes::current().error(blad.message());
    }
}

void TFIRMAF::opuszczono(QWidget *kontrolka)
{
    if (m_pokazywanie)
        return;
    const QString nazwa = kontrolka->objectName();
    if (nazwa.startsWith(u'E') && PolaAdresuSiedziby().contains(nazwa.mid(1)))
        EULICAExit(kontrolka);
    sprawdzNumer(kontrolka);
}

void TFIRMAF::sprawdzNumer(QWidget *kontrolka)
{
    for (const SprawdzanyNumer &numer : kSprawdzaneNumery) {
        if (kontrolka->objectName() != QLatin1String(numer.kontrolka))
            continue;
        auto *pole = qobject_cast<QLineEdit *>(kontrolka);
        auto *znak = findChild<QWidget *>(QStringLiteral("Uwaga") + kontrolka->objectName());
        const QString nazwa = QString::fromLatin1(numer.nazwa);
        const QString uwaga = UwagaDoNumeru(nazwa, numer.sprawdz(pole ? pole->text() : QString()));
        znak->setToolTip(uwaga);
        znak->setVisible(!uwaga.isEmpty());
        const QString pokazana = ui->StatusBar1->currentMessage();
        if (!uwaga.isEmpty())
            ui->StatusBar1->showMessage(uwaga);
        else if (pokazana == UwagaDoNumeru(nazwa, WynikSprawdzenia::ZlaSuma) ||
                 pokazana == UwagaDoNumeru(nazwa, WynikSprawdzenia::ZlaPostac))
            ui->StatusBar1->clearMessage();
        return;
    }
}

bool TFIRMAF::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *kontrolka = qobject_cast<QWidget *>(watched)) {
        if (event->type() == QEvent::Enter)
            pokazPodpowiedz(kontrolka);
        else if (event->type() == QEvent::Leave)
            pokazPodpowiedz(kontrolka->parentWidget());
    }
    return QDialog::eventFilter(watched, event);
}

// The hint of a control, or of the nearest control around it that has one.
void TFIRMAF::pokazPodpowiedz(QWidget *kontrolka)
{
    for (QWidget *w = kontrolka; w && w != this; w = w->parentWidget()) {
        if (!w->statusTip().isEmpty()) {
            ui->StatusBar1->showMessage(w->statusTip());
            return;
        }
    }
    ui->StatusBar1->clearMessage();
}

} // namespace rawen
