#include "shell/TRAWENF.h"

#include "archive/TARCHF.h"
#include "company/TFIRMAF.h"
#include "data/TDANE.h"
#include "data/WartosciProgramu.h"
#include "data/WykazFirm.h"
#include "format/Formatowanie.h"
#include "install/TKATALOGF.h"
#include "platform/AppContext.h"
#include "platform/DurableFiles.h"
#include "platform/FileNames.h"
#include "platform/Instalacja.h"
#include "platform/MessageBoxes.h"
#include "platform/Processes.h"
#include "shell/DaneFirmy.h"
#include "shell/KasowanieFirmy.h"
#include "shell/Moduly.h"
#include "shell/NowaFirma.h"
#include "store/Store.h"
#include "ui_TRAWENF.h"
#include "year/TROKF.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidgetItem>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>

// The icons are built into the library; a static library must load them itself.
static void wczytajIkony()
{
    Q_INIT_RESOURCE(ikony);
}

namespace rawen {

namespace {

// A rename whose directory could not be synced: the firm is whole, its new name may not survive
// a power cut, and the user hears of it.
void pokazOstrzezenia(DurabilityWatch &trwalosc)
{
    const QStringList ostrzezenia = trwalosc.takeWarnings();
    if (!ostrzezenia.isEmpty())
        MessageBoxes::current().warning(QStringLiteral("Uwaga: ") +
                                        ostrzezenia.join(QStringLiteral("\rUwaga: ")));
}

// Each item keeps its firm's directory as the disk names it.
constexpr int kKatalogFirmy = Qt::UserRole;

// The list sorts itself alphabetically without regard to case.
class PozycjaFirmy : public QListWidgetItem
{
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem &other) const override
    {
        return text().compare(other.text(), Qt::CaseInsensitive) < 0;
    }
};

void ustawTlo(QWidget *widget, const QColor &kolor)
{
    QPalette paleta = widget->palette();
    paleta.setColor(QPalette::Window, kolor);
    widget->setPalette(paleta);
    widget->setAutoFillBackground(true);
}

bool jestKodemModulu(const QString &kod)
{
    for (const Modul &modul : Moduly()) {
        if (kod == QLatin1String(modul.kod))
            return true;
    }
    return false;
}

} // namespace

TRAWENF::TRAWENF(WartosciProgramu &wartosci, TDANE &dane, Processes &procesy, QWidget *parent)
    : QWidget(parent), Table1(&dane.SESJA), ui(new Ui::TRAWENF), m_wartosci(wartosci), m_dane(dane),
      m_procesy(procesy)
{
    wczytajIkony();
    ui->setupUi(this);
    // A tool-window border: a caption with the close button only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(565, 300);
    ustawTlo(ui->Panel1, QColor(160, 160, 164)); // medium grey
    // The other panels keep the button face of the system's colours, not the grey around them.
    const QColor twarz = QApplication::palette().color(QPalette::Button);
    for (QFrame *panel : ui->Panel1->findChildren<QFrame *>(Qt::FindDirectChildrenOnly)) {
        if (panel != ui->Panel4 && panel != ui->Panel5)
            ustawTlo(panel, twarz);
    }
    ustawTlo(ui->Panel4, QColor(192, 220, 192)); // money green
    ustawTlo(ui->Panel5, QColor(166, 202, 240)); // sky blue

    // Every control of a panel answers a click as the panel does.
    const QList<QWidget *> kontrolki = ui->Panel1->findChildren<QWidget *>();
    for (QWidget *kontrolka : kontrolki)
        kontrolka->installEventFilter(this);

    // The keyboard reaches every panel: Tab goes from the firm list through the panels in
    // reading order, row by row, and Enter or Space starts the panel that has the focus.
    for (QFrame *panel : ui->Panel1->findChildren<QFrame *>(Qt::FindDirectChildrenOnly))
        m_panele << panel;
    std::stable_sort(m_panele.begin(), m_panele.end(), [](const QWidget *a, const QWidget *b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    QWidget *poprzedni = ui->FIRMA;
    for (QWidget *panel : std::as_const(m_panele)) {
        panel->setFocusPolicy(Qt::StrongFocus);
        setTabOrder(poprzedni, panel);
        poprzedni = panel;
    }
    ui->FIRMA->installEventFilter(this);
    connect(ui->FIRMA, &QListWidget::itemDoubleClicked, this, &TRAWENF::FIRMADblClick);
}

TRAWENF::~TRAWENF() = default;

void TRAWENF::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // The print window, shown without being modal after a buffered job, would otherwise keep the
    // program running with no main window.
    if (event->isAccepted())
        QCoreApplication::exit(0);
}

void TRAWENF::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The window is shown once, by the message loop; showing it again after a minimise is no
    // new start.
    if (!m_pokazane && !event->spontaneous()) {
        m_pokazane = true;
        FormShow();
        // The archive reminder once a run, when the window is up.
        QTimer::singleShot(0, this, [this] { archf().SPRAWDZ(); });
    }
}

bool TRAWENF::eventFilter(QObject *watched, QEvent *event)
{
    auto *kontrolka = qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto *mysz = static_cast<QMouseEvent *>(event);
        if (mysz->button() == Qt::LeftButton && kontrolka &&
            kontrolka->rect().contains(mysz->position().toPoint()) && kliknij(watched))
            return true;
        break;
    }
    case QEvent::KeyPress: {
        const auto *klawisz = static_cast<QKeyEvent *>(event);
        const bool enter = klawisz->key() == Qt::Key_Return || klawisz->key() == Qt::Key_Enter;
        if (watched == ui->FIRMA && enter && klawisz->modifiers() == Qt::NoModifier) {
            if (QListWidgetItem *pozycja = ui->FIRMA->currentItem();
                pozycja && pozycja->isSelected())
                FIRMADblClick(pozycja);
            return true;
        }
        if (m_panele.contains(kontrolka) && !klawisz->isAutoRepeat() &&
            (enter || klawisz->key() == Qt::Key_Space) && kliknij(watched))
            return true;
        break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (m_panele.contains(kontrolka))
            kontrolka->update();
        break;
    case QEvent::Paint:
        // The panel with the focus shows it, as a button does: the panel paints itself, then the
        // style's focus frame goes inside its border.
        if (m_panele.contains(kontrolka) && kontrolka->hasFocus()) {
            static_cast<QObject *>(kontrolka)->event(event);
            QPainter malarz(kontrolka);
            QStyleOptionFocusRect opcje;
            opcje.initFrom(kontrolka);
            opcje.rect = kontrolka->rect().adjusted(3, 3, -3, -3);
            opcje.backgroundColor = kontrolka->palette().color(QPalette::Window);
            kontrolka->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opcje, &malarz,
                                              kontrolka);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TRAWENF::kliknij(QObject *kontrolka)
{
    const QString nazwa = kontrolka->objectName();
    if (QStringLiteral("PILS").contains(nazwa.left(1)) && jestKodemModulu(KodModulu(nazwa))) {
        PROG(kontrolka);
        return true;
    }
    if (nazwa == QLatin1String("Panel4") || nazwa == QLatin1String("Image3") ||
        nazwa == QLatin1String("Label3")) {
        NOWY();
        return true;
    }
    if (nazwa == QLatin1String("Panel5") || nazwa == QLatin1String("Image4") ||
        nazwa == QLatin1String("Label4")) {
        Panel5Click();
        return true;
    }
    if (nazwa == QLatin1String("Panel6") || nazwa == QLatin1String("Label5")) {
        Panel6Click();
        return true;
    }
    if (nazwa == QLatin1String("Panel7") || nazwa == QLatin1String("Label6")) {
        Panel7Click();
        return true;
    }
    if (nazwa == QLatin1String("Panel8") || nazwa == QLatin1String("Label7")) {
        Panel8Click();
        return true;
    }
    return false;
}

void TRAWENF::FormShow()
{
    setWindowTitle(m_wartosci.tytul);
    m_katalogGlowny = AppContext::current().dataRoot();
    m_katalogModulow = Instalacja::katalogModulow();
    // A program that lives in its data root always opens that one: there is nothing to choose.
    ui->Panel8->setVisible(!AppContext::current().chosenDataRoot.isEmpty());
    for (QWidget *kontrolka :
         {static_cast<QWidget *>(ui->Panel8), static_cast<QWidget *>(ui->Label7)})
        kontrolka->setToolTip(QStringLiteral("Katalog danych: ") + m_katalogGlowny);
    oznaczModuly();
    zbudujWykaz();
    if (const QScreen *ekran = screen())
        move(ekran->availableGeometry().center() - rect().center());
}

void TRAWENF::oznaczModuly()
{
    for (const Modul &modul : Moduly()) {
        const QString kod = QString::fromLatin1(modul.kod);
        const bool brak = KatalogModulu(m_katalogGlowny, m_katalogModulow, kod).isEmpty();
        auto *zaslona = findChild<QWidget *>(QStringLiteral("S") + kod);
        auto *etykieta = findChild<QWidget *>(QStringLiteral("L") + kod);
        zaslona->setVisible(brak);
        // A missing module's label is greyed with the button-shadow colour.
        QPalette paleta = etykieta->parentWidget()->palette();
        if (brak)
            paleta.setColor(QPalette::WindowText, paleta.color(QPalette::Dark));
        etykieta->setPalette(paleta);
    }
}

void TRAWENF::zbudujWykaz()
{
    ui->FIRMA->clear();
    ui->FIRMA->setSortingEnabled(true);
    for (const FirmaWykazu &firma : FirmyWykazu(m_katalogGlowny, Table1))
        dodajPozycje(firma.pozycja, firma.katalog);
    ui->FIRMA->setCurrentRow(-1);
    ui->FIRMA->clearSelection();
}

QListWidgetItem *TRAWENF::dodajPozycje(const QString &tekst, const QString &katalog)
{
    auto *pozycja = new PozycjaFirmy(tekst);
    pozycja->setData(kKatalogFirmy, katalog);
    ui->FIRMA->addItem(pozycja);
    return pozycja;
}

void TRAWENF::ustawLogo(const QImage *logo)
{
    m_logo = logo;
    if (m_firmaf)
        m_firmaf->ustawLogo(logo);
}

TROKF &TRAWENF::rokf()
{
    if (!m_rokf)
        m_rokf = std::make_unique<TROKF>(m_wartosci, m_dane.SESJA, m_postep);
    return *m_rokf;
}

void TRAWENF::NOWY()
{
    QStringList pozycje;
    for (int i = 0; i < ui->FIRMA->count(); ++i)
        pozycje << ui->FIRMA->item(i)->text();
    const MiejsceFirmy miejsce =
        MiejsceNowejFirmy(m_katalogGlowny, pozycje, m_wartosci.rokRoboczy, m_pozostawione);
    if (!miejsce.blad.isEmpty()) {
        MessageBoxes::current().error(miejsce.blad);
        return;
    }
    firmaf();
    TROKF &okno = rokf();
    const QString tytul = okno.windowTitle();

    KrokiNowejFirmy kroki;
    kroki.daneFirmy = [this] { m_firmaf->exec(); };
    // Escape or the close box ends the form as any other way does; a firm nobody named may be
    // one the user did not want.
    const QString numer = FormatujLiczbe(QStringLiteral("999"), miejsce.numer);
    kroki.bezNazwy = [&numer] {
        return MessageBoxes::current().question(
            QStringLiteral("Nie wpisano ani nazwy firmy, ani nazwy skróconej.\rCzy utworzyć "
                           "firmę %1 bez nazwy ?")
                .arg(numer));
    };
    // The year form shows only its log while the new firm's tables are made.
    kroki.pokazPrzygotowanie = [&okno] {
        okno.DANE()->hide();
        okno.setWindowTitle(QStringLiteral("Przygotowanie środowiska"));
        okno.show();
        // The copies run inside this click and pump no messages, so the window is painted here,
        // once the window system has put it on the screen (in its own time: a window manager
        // frames it first). User input stays queued.
        const QWindow *okienko = okno.windowHandle();
        const QDeadlineTimer limit(1000);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        while (okienko && !okienko->isExposed() && !limit.hasExpired()) {
            QThread::msleep(5);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        okno.repaint();
    };
    kroki.ukryjPrzygotowanie = [&okno, tytul] {
        okno.hide();
        okno.DANE()->show();
        okno.setWindowTitle(tytul);
    };
    kroki.kopiujKatalog = [&okno](const QString &zrodlo, const QString &cel) {
        return okno.KopiujKatalog(zrodlo, cel);
    };
    DurabilityWatch trwalosc;
    const WynikNowejFirmy wynik =
        UtworzFirme(m_dane.TFIRMA, Table1, miejsce, m_katalogGlowny, m_wartosci.rokRoboczy, kroki);
    pokazOstrzezenia(trwalosc);

    m_pozostawione.removeAll(miejsce.katalog);
    if (wynik.utworzona) {
        // The next module or command acts on the firm just made, not on one selected before.
        QListWidgetItem *nowa = dodajPozycje(wynik.pozycja, wynik.katalog);
        ui->FIRMA->clearSelection();
        ui->FIRMA->setCurrentItem(nowa);
        nowa->setSelected(true);
        ui->FIRMA->scrollToItem(nowa);
    } else if (wynik.zaniechana) {
        // A directory an earlier failed try left keeps what that try made, for the next one.
        if (Store::current().exists(miejsce.katalog))
            m_pozostawione << miejsce.katalog;
    } else {
        m_pozostawione << miejsce.katalog;
        QString tekst = QStringLiteral("Błąd generowania firmy.");
        for (qsizetype i = 0; i < wynik.bledy.size() && i < 5; ++i)
            tekst += u'\r' + wynik.bledy[i];
        MessageBoxes::current().error(tekst);
    }
    if (!wynik.bladPowrotu.isEmpty())
        MessageBoxes::current().error(
            QStringLiteral("Nie można ponownie otworzyć tabeli danych o firmie.\r") +
            wynik.bladPowrotu);
}

void TRAWENF::Panel5Click()
{
    const QList<QListWidgetItem *> wybrane = ui->FIRMA->selectedItems();
    if (wybrane.isEmpty()) {
        MessageBoxes::current().warning(QStringLiteral("Brak wybranej firmy"));
        return;
    }
    QListWidgetItem *pozycja = wybrane.first();
    if (FirmaWKataloguGlownym(pozycja->text())) {
        MessageBoxes::current().information(PowodFirmy000());
        return;
    }
    if (!MessageBoxes::current().question(PytanieOKasowanie(pozycja->text())))
        return;
    DurabilityWatch trwalosc;
    const WynikKasowania wynik = SkasujFirme(pozycja->data(kKatalogFirmy).toString());
    pokazOstrzezenia(trwalosc);
    // A firm whose directory kept its name would come back at the next start.
    if (!wynik.skasowana) {
        MessageBoxes::current().error(wynik.blad);
        return;
    }
    const QString numer = pozycja->text().left(3);
    delete pozycja;
    // The list would move the selection to the next firm, which a module or a second "Kasuj
    // firmę" would then act on unasked.
    ui->FIRMA->setCurrentRow(-1);
    ui->FIRMA->clearSelection();
    MessageBoxes::current().information(OdpowiedzPoKasowaniu(numer, wynik.katalog));
}

void TRAWENF::PROG(QObject *sender)
{
    const QList<QListWidgetItem *> wybrane = ui->FIRMA->selectedItems();
    if (wybrane.isEmpty()) {
        MessageBoxes::current().warning(QStringLiteral("Brak wybranej firmy"));
        return;
    }
    const PolecenieModulu polecenie =
        Polecenie(m_katalogGlowny, sender->objectName(), wybrane.first()->text(),
                  wybrane.first()->data(kKatalogFirmy).toString(), m_katalogModulow);
    // Any other failure to start passes in silence, as it always did.
    if (m_procesy.startDetached(polecenie.program, polecenie.argumenty) ==
        Processes::Result::FileNotFound)
        MessageBoxes::current().error(QStringLiteral("Błąd otwarcia programu : ") +
                                      polecenie.program);
}

TFIRMAF &TRAWENF::firmaf()
{
    if (!m_firmaf) {
        m_firmaf = std::make_unique<TFIRMAF>(m_dane);
        m_firmaf->ustawLogo(m_logo);
    }
    return *m_firmaf;
}

void TRAWENF::FIRMADblClick(QListWidgetItem *pozycja)
{
    if (!pozycja)
        return;
    const QString katalog = pozycja->data(kKatalogFirmy).toString();
    const WynikDanychFirmy wynik =
        PokazDaneFirmy(m_dane.TFIRMA, katalog, [this] { firmaf().exec(); });
    if (wynik.pokazane) {
        // The item follows the short name, and keeps its firm's number and place in the order.
        const QString numer = QDir::cleanPath(katalog) == QDir::cleanPath(m_katalogGlowny)
                                  ? QStringLiteral("000")
                                  : QDir(katalog).dirName().mid(5, 3);
        pozycja->setText(numer + u' ' + wynik.skrot);
        ui->FIRMA->sortItems();
        ui->FIRMA->setCurrentItem(pozycja);
        ui->FIRMA->scrollToItem(pozycja);
    }
    if (!wynik.bladPowrotu.isEmpty())
        MessageBoxes::current().error(
            QStringLiteral("Nie można ponownie otworzyć tabeli danych o firmie.\r") +
            wynik.bladPowrotu);
}

TARCHF &TRAWENF::archf()
{
    if (!m_archf)
        m_archf = std::make_unique<TARCHF>(m_wartosci, m_dane, m_postep, this);
    return *m_archf;
}

void TRAWENF::Panel6Click()
{
    archf().exec();
}

void TRAWENF::Panel7Click()
{
    // The year form works on the data directory and the working year, not on the firm selected
    // in the list.
    rokf().exec();
}

void TRAWENF::Panel8Click()
{
    TKATALOGF okno(AppContext::current().homeDirectory, this);
    okno.ustawOknoPostepu(m_postep);
    okno.ustawObecny(m_katalogGlowny);
    if (okno.exec() != QDialog::Accepted ||
        QDir::cleanPath(okno.katalog()) == QDir::cleanPath(m_katalogGlowny))
        return;
    m_nowyKatalog = okno.katalog();
    close();
}

} // namespace rawen
