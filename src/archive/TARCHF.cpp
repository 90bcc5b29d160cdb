#include "archive/TARCHF.h"

#include "archive/Archiwum.h"
#include "archive/Przypomnienie.h"
#include "archive/TARCHF1.h"
#include "data/OtworzTabele.h"
#include "data/TDANE.h"
#include "data/WartosciProgramu.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"
#include "platform/OknoPostepu.h"
#include "ui_TARCHF.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QShowEvent>

namespace rawen {

TARCHF::TARCHF(WartosciProgramu &wartosci, TDANE &dane, OknoPostepu *postep, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TARCHF>()), m_wartosci(wartosci), m_dane(dane),
      m_postep(postep)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_wiazanie.bind(ui->DBText1, &m_dane.ZFIRMA, QStringLiteral("ARCHDATA"));
    m_wiazanie.bind(ui->DBText2, &m_dane.ZFIRMA, QStringLiteral("ARCHDATA"));

    connect(ui->RAdomyslna, &QRadioButton::clicked, this, &TARCHF::RAClick);
    connect(ui->RAdowolna, &QRadioButton::clicked, this, &TARCHF::RAClick);
    connect(ui->RA1domyslna, &QRadioButton::clicked, this, &TARCHF::RA1Click);
    connect(ui->RA1dowolna, &QRadioButton::clicked, this, &TARCHF::RA1Click);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TARCHF::SpeedButton1Click);
    connect(ui->SpeedButton2, &QToolButton::clicked, this, &TARCHF::SpeedButton2Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->BitBtn3, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TARCHF::BitBtn2Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &TARCHF::BitBtn4Click);
    // Each page's action is the default button while its page is shown.
    auto domyslny = [this](int strona) {
        ui->BitBtn2->setDefault(strona == 0);
        ui->BitBtn4->setDefault(strona == 1);
    };
    connect(ui->Tab, &QTabWidget::currentChanged, this, domyslny);
    domyslny(ui->Tab->currentIndex());
}

TARCHF::~TARCHF() = default;

void TARCHF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TARCHF::FormShow()
{
    // katalogDanych ends with its separator.
    const QString domyslny =
        QDir::toNativeSeparators(m_wartosci.katalogDanych + QStringLiteral("ARCHIWUM"));
    ui->EDR->setText(domyslny);
    ui->EDR1->setText(domyslny);
    ui->Tab->setCurrentIndex(0);
    m_wiazanie.refresh();
    if (const QScreen *ekran = screen())
        move(ekran->availableGeometry().center() - rect().center());
}

void TARCHF::RAClick()
{
    ui->GDR->setEnabled(ui->RAdowolna->isChecked());
}

void TARCHF::RA1Click()
{
    ui->GDR1->setEnabled(ui->RA1dowolna->isChecked());
}

TARCHF1 &TARCHF::archf1()
{
    if (!m_archf1)
        m_archf1 = std::make_unique<TARCHF1>(this);
    return *m_archf1;
}

void TARCHF::SpeedButton1Click()
{
    // The chooser opens on the folder the field names, when there is one.
    archf1().wybierz(QDir::fromNativeSeparators(ui->EDR->text()));
    archf1().exec();
    ui->EDR->setText(archf1().wybranyKatalog());
}

void TARCHF::SpeedButton2Click()
{
    // The chooser opens on the folder the field names, when there is one.
    archf1().wybierz(QDir::fromNativeSeparators(ui->EDR1->text()));
    archf1().exec();
    ui->EDR1->setText(archf1().wybranyKatalog());
}

// The archive directory of a page: its path field with a closing separator, which the field then
// shows; empty, with a message, when the field is empty.
QString TARCHF::katalogArchiwum(QLineEdit *pole)
{
    QString tekst = pole->text().trimmed();
    if (tekst.isEmpty()) {
        MessageBoxes::current().error(QStringLiteral("Nie podano katalogu archiwum.\rWybierz "
                                                     "katalog przyciskiem \"...\" albo wpisz "
                                                     "jego ścieżkę."));
        return QString();
    }
    if (!tekst.endsWith(u'/') && !tekst.endsWith(QDir::separator()))
        tekst += QDir::separator();
    pole->setText(tekst);
    return QDir::fromNativeSeparators(tekst);
}

void TARCHF::BitBtn2Click()
{
    const QString A = katalogArchiwum(ui->EDR);
    if (A.isEmpty())
        return; // the window stays, for a path to be given
    const QString R = m_wartosci.katalogDanych;

    if (m_postep)
        m_postep->Start(QStringLiteral("Archiwowanie"), int(m_wartosci.listaLat.size()) + 2);
    const WynikArchiwum wynik =
        Archiwizuj(R, A, m_wartosci.listaLat, {m_postep, {}}, ui->CSPRAWDZ->isChecked());
    QString uwaga;
    if (wynik.udane()) {
        // The date of an archive that is whole and checked, never of one that is not.
        Table &firma = m_dane.TFIRMA;
        if (firma.isOpen()) {
            try {
                firma.edit();
                firma.fieldByName(QStringLiteral("ARCHDATA")).setAsString(m_wartosci.dataStartu);
            } catch (const EngineError &blad) {
                uwaga = QStringLiteral("\rNie zapisano daty archiwowania: ") + blad.cause();
            }
            ZapiszTabele(firma);
        } else {
            uwaga = QStringLiteral("\rNie zapisano daty archiwowania: tabela firmy nie jest "
                                   "otwarta.");
        }
    }
    if (m_postep)
        m_postep->Stop();
    if (wynik.udane())
        MessageBoxes::current().information(wynik.podsumowanie() + uwaga);
    else
        MessageBoxes::current().error(wynik.podsumowanie());
    accept();
}

void TARCHF::BitBtn4Click()
{
    const QString A = katalogArchiwum(ui->EDR1);
    if (A.isEmpty())
        return;
    if (!QFileInfo(A).isDir()) {
        MessageBoxes::current().error(QStringLiteral("Katalog archiwum %1 nie istnieje.\rNic nie "
                                                     "odtworzono.")
                                          .arg(QDir::toNativeSeparators(A)));
        return;
    }
    if (!MessageBoxes::current().question(
            QStringLiteral("Uwaga odtworzenie spowoduje utratę wszystkich zapisów od daty "
                           "ostatniego archiwowania.\rCzy odtwarzać zbiory ?"))) {
        accept();
        return;
    }
    const QString R = m_wartosci.katalogDanych;
    // Every table the program holds is closed for the restore and opened again after it.
    m_dane.SESJA.setActive(false);
    if (m_postep)
        m_postep->Start(QStringLiteral("Odtwarzanie zbiorów"), int(m_wartosci.listaLat.size()) + 2);
    const WynikOdtworzenia wynik =
        Odtworz(A, R, m_wartosci.listaLat, {m_postep, {}},
                QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd-hh.mm.ss")));
    if (m_postep)
        m_postep->Stop();
    m_dane.SESJA.setActive(true);
    try {
        m_dane.DataModuleCreate();
    } catch (const EngineError &blad) {
        MessageBoxes::current().error(blad.message());
    }
    m_wiazanie.refresh();
    if (wynik.udane())
        MessageBoxes::current().information(wynik.podsumowanie());
    else
        MessageBoxes::current().error(wynik.podsumowanie());
    accept();
}

void TARCHF::SPRAWDZ()
{
    Table &firma = m_dane.TFIRMA;
    if (!firma.isOpen())
        return;
    const QString dni = QStringLiteral("ARCHDNI");
    const QString data = QStringLiteral("ARCHDATA");
    try {
        if (firma.fieldByName(dni).asString().isEmpty()) {
            firma.edit();
            firma.fieldByName(dni).setAsString(QStringLiteral("3"));
            ZapiszTabele(firma);
        }
        if (firma.fieldByName(data).asString().size() != 10) {
            firma.edit();
            firma.fieldByName(data).setAsString(m_wartosci.dataStartu);
            ZapiszTabele(firma);
        }
        const int minelo = DniOdArchiwum(m_wartosci.dataStartu, firma.fieldByName(data).asString());
        const int okres = firma.fieldByName(dni).asString().toInt();
        if (okres <= 0 || minelo < okres)
            return;
        if (MessageBoxes::current().question(PytanieOArchiwum(minelo)))
            exec();
    } catch (const EngineError &blad) {
        MessageBoxes::current().error(blad.message());
    }
}

} // namespace rawen
