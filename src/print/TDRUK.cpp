#include "print/TDRUK.h"

#include "platform/AppContext.h"
#include "platform/FileNames.h"
#include "platform/MessageBoxes.h"
#include "platform/Printers.h"
#include "print/CzcionkiWydruku.h"
#include "print/QtDrukarkaWindows.h"
#include "print/TDRUKTYT.h"
#include "print/Wydruk.h"
#include "ui_TDRUK.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTextCursor>

#include <algorithm>

namespace rawen {

namespace {

// Checks the button of `id`; an id without a button leaves none checked.
void zaznacz(QButtonGroup &grupa, int id)
{
    if (QAbstractButton *przycisk = grupa.button(id)) {
        przycisk->setChecked(true);
        return;
    }
    // An exclusive group keeps its checked button; it lets go only while not exclusive.
    grupa.setExclusive(false);
    for (QAbstractButton *przycisk : grupa.buttons())
        przycisk->setChecked(false);
    grupa.setExclusive(true);
}

} // namespace

TDRUK::TDRUK(Printers &drukarki, OknoPostepu &postep, const WartosciProgramu &wartosci,
             QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TDRUK>()), m_drukarki(drukarki)
{
    ui->setupUi(this);
    ui->EDRUK->setFont(CzcionkaWydruku(QStringLiteral("Lucida Console"), 8));

    // The channel buttons lie in different group boxes, so Qt cannot make them exclusive;
    // EWINDOWSClick does it.
    m_kanaly = {ui->EWINDOWS, ui->EDOS, ui->EEXPORT, ui->BW};
    for (QRadioButton *kanal : m_kanaly)
        connect(kanal, &QAbstractButton::toggled, this, &TDRUK::EWINDOWSClick);

    m_rodzaj = new QButtonGroup(this);
    m_kodowanie = new QButtonGroup(this);
    const std::array<QRadioButton *, 4> rodzaje{ui->ERD0, ui->ERD1, ui->ERD2, ui->ERD3};
    const std::array<QRadioButton *, 4> kodowania{ui->EPL0, ui->EPL1, ui->EPL2, ui->EPL3};
    for (int i = 0; i < 4; ++i) {
        m_rodzaj->addButton(rodzaje[i], i);
        m_kodowanie->addButton(kodowania[i], i);
    }
    connect(m_rodzaj, &QButtonGroup::idClicked, this, &TDRUK::ERDClick);
    connect(m_kodowanie, &QButtonGroup::idClicked, this, &TDRUK::EPLClick);

    // Completing "LPT" to "LPT1" while the user types another port would pick LPT1 unasked.
    ui->EPORT->setCompleter(nullptr);
    ui->EPORT->setInsertPolicy(QComboBox::NoInsert);

    connect(ui->EDRUKARKA, &QComboBox::currentIndexChanged, this, &TDRUK::EDRUKARKAChange);
    connect(ui->EPORT, &QComboBox::editTextChanged, this, &TDRUK::EPORTChange);
    connect(ui->EPodzial, &QAbstractButton::clicked, this, &TDRUK::EPodzialClick);
    connect(ui->EBUFOR, &QAbstractButton::clicked, this, &TDRUK::EBUFORClick);
    // Two digits at most, shown as the number alone: an input mask would show its blank beside a
    // one-digit value ("0_").
    for (QLineEdit *liczba : {ui->MARGINESG, ui->MARGINESL, ui->WIERSZY})
        liczba->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]{0,2}")), liczba));
    connect(ui->MARGINESG, &QLineEdit::textChanged, this, &TDRUK::MARGINESGChange);
    connect(ui->MARGINESL, &QLineEdit::textChanged, this, &TDRUK::MARGINESLChange);
    connect(ui->WIERSZY, &QLineEdit::textChanged, this, &TDRUK::WIERSZYChange);
    connect(ui->SpeedButton1, &QAbstractButton::clicked, this, &TDRUK::SpeedButton1Click);
    connect(ui->KZAPISZ, &QAbstractButton::clicked, this, &TDRUK::KZAPISZClick);
    connect(ui->KDRUK, &QAbstractButton::clicked, this, &TDRUK::KDRUKClick);

    FormCreate();
    m_drukarkaWindows = std::make_unique<QtDrukarkaWindows>(m_drukarki, m_logo);
    OknoWydruku &okno = *this;
    m_wydruk = std::make_unique<Wydruk>(m_ustawienia, wartosci, okno, postep, *m_drukarkaWindows);
}

TDRUK::~TDRUK() = default;

// DrukujOdRazu and DrukujLogo start cleared in the engine made after this.
void TDRUK::FormCreate()
{
    const QStringList nazwy = m_drukarki.names();
    {
        const QScopedValueRollback<bool> wlasna(m_zmianaWlasna, true);
        ui->EDRUKARKA->addItems(nazwy);
        ui->EDRUKARKA->setCurrentIndex(nazwy.indexOf(m_drukarki.currentName()));
    }
    if (nazwy.isEmpty()) {
        const auto odpowiedz = MessageBoxes::current().show(
            MessageBoxes::Icon::Warning, MessageBoxes::defaultCaption(MessageBoxes::Icon::Warning),
            QStringLiteral("Uwaga nie posiadasz zainstalowanej drukarki !!"),
            MessageBoxes::Buttons::Ok);
        // The settings then stay all zero for the run, DRLINIDOS too, and there is no logo.
        if (odpowiedz == MessageBoxes::Answer::Ok)
            return;
    }

    m_ustawienia.Wczytaj();
    wczytajLogo();
}

void TDRUK::wczytajLogo()
{
    const QString plik = resolveCaseInsensitive(
        QDir(AppContext::current().currentDirectory).filePath(QStringLiteral("logo.bmp")));
    // A file that does not load leaves the picture empty.
    if (QFileInfo(plik).isFile())
        m_logo.load(plik);
}

void TDRUK::showEvent(QShowEvent *event)
{
    // Restoring a minimized window is no new showing.
    if (!event->spontaneous())
        FormShow();
    QMainWindow::showEvent(event);
}

// Showing never changes a setting: a value the controls cannot hold (a channel or port that names
// none, more than two digits) stays as it is until the user changes that control.
void TDRUK::FormShow()
{
    const QScopedValueRollback<bool> wlasna(m_zmianaWlasna, true);
    zaznaczKanal(m_ustawienia.DRTYP);
    // An editable combo box without a current item shows empty text.
    ui->EPORT->setCurrentIndex(m_ustawienia.DRPORT <= 2 ? m_ustawienia.DRPORT : -1);
    zaznacz(*m_rodzaj, m_ustawienia.DRRODZAJ);
    zaznacz(*m_kodowanie, m_ustawienia.DRPL);
    ui->EPodzial->setChecked(m_ustawienia.DRPODZIAL);
    ui->EBUFOR->setChecked(m_ustawienia.DRBUFOR);
    ui->MARGINESG->setText(QString::number(m_ustawienia.DRGORA));
    ui->MARGINESL->setText(QString::number(m_ustawienia.DRLEWY));
    ui->WIERSZY->setText(QString::number(m_ustawienia.DRLINIDOS));
}

// A channel outside 0 to 3 leaves all four buttons unchecked.
void TDRUK::zaznaczKanal(int kanal)
{
    const QScopedValueRollback<bool> wlasna(m_zmianaWlasna, true);
    for (int i = 0; i < int(m_kanaly.size()); ++i)
        m_kanaly[i]->setChecked(i == kanal);
}

void TDRUK::EWINDOWSClick()
{
    if (m_zmianaWlasna)
        return;
    const auto kliknety = std::find(m_kanaly.begin(), m_kanaly.end(), sender());
    if (kliknety == m_kanaly.end())
        return;
    const int kanal = int(kliknety - m_kanaly.begin());
    // Also a click on the checked button, which unchecks it, ends with it checked.
    zaznaczKanal(kanal);
    m_ustawienia.DRTYP = quint8(kanal);
}

void TDRUK::EDRUKARKAChange(int index)
{
    if (m_zmianaWlasna || index < 0)
        return;
    m_drukarki.select(ui->EDRUKARKA->itemText(index));
}

void TDRUK::EPORTChange(const QString &tekst)
{
    if (m_zmianaWlasna)
        return;
    const int port = ui->EPORT->findText(tekst, Qt::MatchFixedString);
    if (port >= 0 && port <= 2)
        m_ustawienia.DRPORT = quint8(port);
}

void TDRUK::ERDClick(int indeks)
{
    m_ustawienia.DRRODZAJ = quint8(indeks);
}

void TDRUK::EPLClick(int indeks)
{
    m_ustawienia.DRPL = quint8(indeks);
}

void TDRUK::EPodzialClick(bool zaznaczony)
{
    m_ustawienia.DRPODZIAL = zaznaczony;
}

void TDRUK::EBUFORClick(bool zaznaczony)
{
    m_ustawienia.DRBUFOR = zaznaczony;
}

void TDRUK::MARGINESGChange(const QString &tekst)
{
    if (!m_zmianaWlasna)
        m_ustawienia.DRGORA = LiczbaZMaski(tekst);
}

void TDRUK::MARGINESLChange(const QString &tekst)
{
    if (!m_zmianaWlasna)
        m_ustawienia.DRLEWY = LiczbaZMaski(tekst);
}

void TDRUK::WIERSZYChange(const QString &tekst)
{
    if (!m_zmianaWlasna)
        m_ustawienia.DRLINIDOS = LiczbaZMaski(tekst);
}

void TDRUK::SpeedButton1Click()
{
    m_drukarki.setup();
}

// A key that cannot be written (no rights, say) stores nothing and tells the user nothing.
void TDRUK::KZAPISZClick()
{
    m_ustawienia.Zapisz();
}

void TDRUK::KDRUKClick()
{
    m_wydruk->KDRUKClick();
}

void TDRUK::wyczyscBufor()
{
    ui->EDRUK->clear();
}

// Every line ends with its line break, so that the last one is printed too: printing takes the
// text up to each line's end.
void TDRUK::dopiszWiersz(const QString &wiersz)
{
    QTextCursor kursor(ui->EDRUK->document());
    kursor.movePosition(QTextCursor::End);
    kursor.insertText(wiersz + u'\n');
}

QString TDRUK::tekstDoWydruku()
{
    if (!ui->EDRUK->textCursor().hasSelection())
        ui->EDRUK->selectAll();
    QString tekst = ui->EDRUK->textCursor().selectedText();
    // A selection separates its lines with the paragraph separator.
    tekst.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return tekst;
}

// The cursor goes to where the selection began: after printing everything, the top of the
// document stays in view.
void TDRUK::usunZaznaczenie()
{
    QTextCursor kursor = ui->EDRUK->textCursor();
    kursor.setPosition(kursor.selectionStart());
    ui->EDRUK->setTextCursor(kursor);
}

void TDRUK::czcionkaPoWydruku()
{
    ui->EDRUK->setFont(CzcionkaWydruku(QStringLiteral("Courier New"), 8));
}

QString TDRUK::zapytajOTytul(const QString &)
{
    if (!m_tytul) {
        m_tytul = std::make_unique<TDRUKTYT>([this] { return m_wydruk->TytulWydruku(); });
    }
    return m_tytul->zapytaj();
}

void TDRUK::pokaz()
{
    if (isVisible())
        FormShow();
    else
        show();
    raise();
    activateWindow();
}

} // namespace rawen
