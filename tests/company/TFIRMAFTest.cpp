#include "company/TFIRMAF.h"

#include "company/PoczatekRoku.h"
#include "company/UzupelnienieAdresu.h"
#include "data/TDANE.h"
#include "data/TabelaFirmy.h"
#include "data/WartosciProgramu.h"
#include "platform/MultiRowTabWidget.h"
#include "support/FixedAppContext.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TableFixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

const QStringList kWojewodztwa{"DOLNOŚLĄSKIE",   "KUJAWSKO - POMORSKIE",
                               "LUBELSKIE",      "LUBUSKIE",
                               "ŁÓDZKIE",        "MAŁOPOLSKIE",
                               "MAZOWIECKIE",    "OPOLSKIE",
                               "PODKARPACKIE",   "PODLASKIE",
                               "POMORSKIE",      "ŚLĄSKIE",
                               "ŚWIĘTOKRZYSKIE", "WARMIŃSKO - MAZURSKIE",
                               "WIELKOPOLSKIE",  "ZACHODNIPOMORSKIE"};

// Every bound control of the form: its page, its field, the label standing left of it and its
// hint, in keyboard order page by page, which is the order a reader meets them on the page (on
// "Inne parametry" too, where the keyboard jumped from the tax office to the archive date).
struct Kontrolka
{
    const char *strona;
    const char *nazwa;
    const char *pole;
    const char *etykieta; // "" for none
    const char *podpowiedz;
};

const Kontrolka kKontrolki[] = {
    {"STRONA1", "ENIP", "NIP", "NIP", "NIP"},
    {"STRONA1", "DBEdit2", "REGON", "REGON", "REGON"},
    {"STRONA1", "DBEdit3", "SKROT", "nazwa skrocona", "Nazwa skrócona używana w programie Płatnik"},
    {"STRONA1", "DBEdit6", "RHB", "wpis do rejestru",
     "Symbol i numer wpisu do rejestru oraz nazwa rejestru"},
    {"STRONA1", "DBEdit4", "NAZWA1", "nazwa firmy", "Pełna nazwa firmy"},
    {"STRONA1", "DBEdit5", "NAZWA2", "", "Pełna nazwa firmy"},
    {"STRONA1", "DBComboBox1", "RP", "Rodzaj płatnika ",
     "Rodzaj platnika - proszę wybrać ze słownika"},
    {"STRONA1", "DBEdit7", "NAZWISKO", "nazwisko", ""},
    {"STRONA1", "DBEdit8", "IMIE", "imię", ""},
    {"STRONA1", "DBEdit9", "PESEL", "PESEL", ""},
    {"STRONA1", "DBEdit10", "DATAUR", "data urodzenia (dzień-miesiąc-rok)",
     "(dzień - miesiąc - rok)"},
    {"STRONA1", "DBComboBox3", "RD", "rodzaj dok.", ""},
    {"STRONA1", "DBEdit20", "NRD", "seria i numer dkumentu", ""},
    {"STRONA2", "EULICA", "ULICA", "ulica", ""},
    {"STRONA2", "ENUMER", "NUMER", "numer domu", ""},
    {"STRONA2", "ELOKAL", "LOKAL", "numer lokalu", ""},
    {"STRONA2", "EKOD", "KOD", "kod pocztowy", ""},
    {"STRONA2", "EPOCZTA", "POCZTA", "poczta", ""},
    {"STRONA2", "EKRAJ", "KRAJ", "kraj", ""},
    {"STRONA2", "EWOJEWODZTWO", "WOJEWODZTWO", "województwo", ""},
    {"STRONA2", "EPOWIAT", "POWIAT", "powiat", ""},
    {"STRONA2", "EGMINA", "GMINA", "gmina", ""},
    {"STRONA2", "EMIEJSCOWOSC", "MIEJSCOWOSC", "miejscowość", ""},
    {"STRONA2", "DBEdit29", "EMAIL", "e-mail", ""},
    {"STRONA2", "DBEdit30", "WWW", "WWW", ""},
    {"STRONA7", "DBEdit37", "ZULICA", "ulica", ""},
    {"STRONA7", "DBEdit38", "ZNUMER", "numer domu", ""},
    {"STRONA7", "DBEdit39", "ZLOKAL", "numer lokalu", ""},
    {"STRONA7", "DBEdit40", "ZKOD", "kod pocztowy", ""},
    {"STRONA7", "DBEdit41", "ZPOCZTA", "poczta", ""},
    {"STRONA7", "DBEdit42", "ZKRAJ", "kraj", ""},
    {"STRONA7", "DBComboBox4", "ZWOJEWODZTWO", "województwo", ""},
    {"STRONA7", "DBEdit43", "ZPOWIAT", "powiat", ""},
    {"STRONA7", "DBEdit44", "ZGMINA", "gmina", ""},
    {"STRONA7", "DBEdit45", "ZMIEJSCOWOSC", "miejscowość", ""},
    {"STRONA3", "DBEdit22", "BANK", "nazwa banku 1 :", ""},
    {"STRONA3", "DBEdit15", "ADRES1", "adres banku 1 :", ""},
    {"STRONA3", "DBEdit23", "NUM1", "rachunek 1 :", ""},
    {"STRONA3", "DBEdit25", "BANK2", "nazwa banku 2 :", ""},
    {"STRONA3", "DBEdit24", "ADRES2", "adres banku 2 :", ""},
    {"STRONA3", "DBEdit19", "NUM2", "rachunek 2 :", ""},
    {"STRONA3", "DBEdit32", "BANK3", "nazwa banku 3 :", ""},
    {"STRONA3", "DBEdit31", "ADRES3", "adres banku 3 :", ""},
    {"STRONA3", "DBEdit28", "NUM3", "rachunek 3 :", ""},
    {"TabSheet1", "DBEdit1", "URZAD", "Urząd skarbowy, do którego składana jest deklaracja",
     "Nazwa urzędu skarbowego"},
    {"TabSheet1", "DBEdit36", "DR", "", "Uwaga! Ścieżka dostępu musi kończyć się znakiem \"/\""},
    {"TabSheet1", "DBEdit35", "OBRDATA", "Data początku okresu obrachunkowego :", ""},
    {"TabSheet1", "DBEdit26", "ARCHDATA", "Data ostatniej aktualizacji archiwum :", ""},
    {"TabSheet1", "DBEdit27", "ARCHDNI", "Okres aktualizacji archiwum :", ""},
    {"STRONA6", "DBCheckBox1", "LOGO", "", ""},
};

// Types a text key by key, Polish letters too (which the test library's key clicks take only as
// ASCII).
void pisz(QWidget *kontrolka, const QString &tekst)
{
    for (const QChar znak : tekst)
        QTest::sendKeyEvent(QTest::Click, kontrolka, Qt::Key_unknown, QString(znak),
                            Qt::NoModifier);
}

class TFIRMAFTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(katalog.isValid());
        AppContext kontekst;
        kontekst.today = QDate(2005, 3, 10);
        kontekst.executablePath = katalog.filePath(QStringLiteral("rawen"));
        kontekst.currentDirectory = katalog.path();
        staly = std::make_unique<FixedAppContext>(kontekst);
        makeTable(katalog.filePath(QStringLiteral("RAWEN.DB")),
                  {{QStringLiteral("ADATA"), ftString, 10, false},
                   {QStringLiteral("ACYKL"), ftInteger, 0, false}},
                  {}, {{"2005.04.10", "30"}});
    }

    // Firm 000's table with one record, or without any.
    void otworz(bool zRekordem)
    {
        Table t;
        t.setTableName(katalog.filePath(QStringLiteral("FIRMA")));
        AktualizujTabeleFirmy(t);
        if (zRekordem) {
            t.edit();
            t.fieldByName(QStringLiteral("SKROT")).setAsString(QStringLiteral("Biuro"));
            t.fieldByName(QStringLiteral("ARCHDATA")).setAsString(QStringLiteral("2005.01.31"));
            t.post();
        }
        t.close();
        dane = std::make_unique<TDANE>(w);
        okno = std::make_unique<TFIRMAF>(*dane);
    }

    void pokaz()
    {
        okno->show();
        QApplication::setActiveWindow(okno.get());
    }

    template <typename T = QWidget> T *k(const char *nazwa)
    {
        T *kontrolka = okno->findChild<T *>(QLatin1String(nazwa));
        EXPECT_TRUE(kontrolka) << nazwa;
        return kontrolka;
    }

    // Types into a control as a user does: clicked into, the text typed at its end.
    void wpisz(const char *nazwa, const QString &tekst)
    {
        QWidget *kontrolka = k(nazwa);
        auto *strony = k<QTabWidget>("STRONY");
        for (QWidget *w = kontrolka; w; w = w->parentWidget()) {
            if (strony->indexOf(w) >= 0)
                strony->setCurrentWidget(w);
        }
        kontrolka->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(kontrolka, Qt::Key_End);
        pisz(kontrolka, tekst);
    }

    QString zapisane(const char *pole)
    {
        Table t;
        t.setTableName(katalog.filePath(QStringLiteral("FIRMA")));
        t.open();
        return t.isEmpty() ? QStringLiteral("(brak rekordu)")
                           : t.fieldByName(QLatin1String(pole)).asString();
    }

    QTemporaryDir katalog;
    std::unique_ptr<FixedAppContext> staly;
    ScriptedMessageBoxes okna;
    WartosciProgramu w;
    std::unique_ptr<TDANE> dane;
    std::unique_ptr<TFIRMAF> okno;
};

TEST_F(TFIRMAFTest, TheFormIsLaidOutAsDesigned)
{
    otworz(true);
    EXPECT_EQ(okno->windowTitle(), QStringLiteral("Dane o Firmie"));
    EXPECT_EQ(okno->size(), QSize(563, 389));
    auto *strony = k<QTabWidget>("STRONY");
    const QList<std::pair<const char *, const char *>> oczekiwane{
        {"STRONA1", "Dane identyfikacyjne i ewidencyjne"},
        {"STRONA2", "Adres siedziby"},
        {"STRONA7", "Adres zamieszkana"},
        {"STRONA3", "Rachunki bankowe"},
        {"TabSheet1", "Inne parametry"},
        {"STRONA6", "Logo Firmy"}};
    ASSERT_EQ(strony->count(), oczekiwane.size());
    for (int i = 0; i < strony->count(); ++i) {
        EXPECT_EQ(strony->widget(i)->objectName(), QLatin1String(oczekiwane[i].first));
        EXPECT_EQ(strony->tabText(i), QString::fromUtf8(oczekiwane[i].second));
    }
    EXPECT_EQ(k("STRONA2")->toolTip(), QStringLiteral("adres siedziby firmy"));
    EXPECT_EQ(k("STRONA3")->statusTip(), QStringLiteral("Rachunki bankowe firmy"));
    EXPECT_EQ(k<QGroupBox>("GroupBox1")->title(), QStringLiteral("Osoba fizyczna :"));
    EXPECT_EQ(k("GroupBox1")->statusTip(),
              QStringLiteral("Dane osoby prowadzącej dzialalność gospodarczą"));
    ASSERT_TRUE(k<QStatusBar>("StatusBar1"));

    QMap<QWidget *, QString> etykiety;
    for (QLabel *etykieta : okno->findChildren<QLabel *>()) {
        if (etykieta->buddy())
            etykiety.insert(etykieta->buddy(), etykieta->text());
    }
    for (const Kontrolka &kontrolka : kKontrolki) {
        SCOPED_TRACE(kontrolka.nazwa);
        QWidget *w = k(kontrolka.nazwa);
        ASSERT_TRUE(w);
        EXPECT_TRUE(k(kontrolka.strona)->isAncestorOf(w));
        EXPECT_EQ(okno->powiazania().fieldName(w), QLatin1String(kontrolka.pole));
        EXPECT_EQ(etykiety.value(w), QString::fromUtf8(kontrolka.etykieta));
        EXPECT_EQ(w->statusTip(), QString::fromUtf8(kontrolka.podpowiedz));
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(kontrolka.podpowiedz));
        // A control bound to a field the table lacks would stay empty for good.
        EXPECT_GE(dane->TFIRMA.fieldIndex(QLatin1String(kontrolka.pole)), 0);
    }
    EXPECT_EQ(k<QCheckBox>("DBCheckBox1")->text(), QStringLiteral("Wydruk logo na dokumentach"));
    EXPECT_TRUE(k<QLineEdit>("DBEdit26")->isReadOnly());

    // The keyboard goes through each page in the order of the list.
    QStringList lancuch;
    for (QWidget *w = k("ENIP");; w = w->nextInFocusChain()) {
        if (!okno->powiazania().fieldName(w).isEmpty() && !lancuch.contains(w->objectName()))
            lancuch << w->objectName();
        if (w->nextInFocusChain() == k("ENIP"))
            break;
    }
    QStringList lista;
    for (const Kontrolka &kontrolka : kKontrolki)
        lista << QLatin1String(kontrolka.nazwa);
    lancuch.removeAll(QStringLiteral("DBEdit33"));
    lancuch.removeAll(QStringLiteral("DBEdit34"));
    EXPECT_EQ(lancuch, lista);

    for (const char *nazwa : {"EWOJEWODZTWO", "DBComboBox4"}) {
        auto *lista = k<QComboBox>(nazwa);
        QStringList pozycje;
        for (int i = 0; i < lista->count(); ++i)
            pozycje << lista->itemText(i);
        EXPECT_EQ(pozycje, kWojewodztwa) << nazwa;
        EXPECT_TRUE(lista->isEditable());
    }
    auto *rp = k<QComboBox>("DBComboBox1");
    EXPECT_EQ(rp->count(), 2);
    EXPECT_EQ(rp->itemText(0), QStringLiteral("P - Osoba Prawna"));
    EXPECT_EQ(rp->itemText(1), QStringLiteral("F - Osoba Fizyczna"));
    EXPECT_EQ(k<QComboBox>("DBComboBox3")->count(), 0);

    // The hidden update-check group is bound to the configuration table.
    pokaz();
    // Each page's keyboard order is its reading order: row by row from the top, left to right.
    for (int i = 1; i < int(std::size(kKontrolki)); ++i) {
        const Kontrolka &przed = kKontrolki[i - 1];
        const Kontrolka &teraz = kKontrolki[i];
        if (qstrcmp(przed.strona, teraz.strona) != 0)
            continue;
        SCOPED_TRACE(std::string(przed.nazwa) + " -> " + teraz.nazwa);
        QWidget *strona = k(teraz.strona);
        strony->setCurrentWidget(strona);
        const QRect a(k(przed.nazwa)->mapTo(strona, QPoint()), k(przed.nazwa)->size());
        const QRect b(k(teraz.nazwa)->mapTo(strona, QPoint()), k(teraz.nazwa)->size());
        const bool tenSamWiersz = a.center().y() >= b.top() && a.center().y() <= b.bottom();
        EXPECT_TRUE(tenSamWiersz ? a.left() < b.left() : a.top() < b.top())
            << a.x() << "," << a.y() << " " << b.x() << "," << b.y();
    }
    // The tabs of all six pages show whole in the window's width.
    auto *pasek = static_cast<MultiRowTabBar *>(strony->tabBar());
    for (int i = 0; i < strony->count(); ++i) {
        EXPECT_TRUE(pasek->rect().contains(pasek->placeOfTab(i))) << i;
        EXPECT_GE(pasek->placeOfTab(i).width(), pasek->tabSizeHint(i).width()) << i;
    }
    EXPECT_TRUE(k("GroupBox2")->isHidden());
    EXPECT_EQ(k<QGroupBox>("GroupBox2")->title(), QStringLiteral(" Aktualizacja Internet "));
    EXPECT_EQ(k<QLineEdit>("DBEdit33")->text(), QStringLiteral("2005.04.10"));
    EXPECT_EQ(k<QLineEdit>("DBEdit34")->text(), QStringLiteral("30"));
    EXPECT_EQ(okno->powiazania().fieldName(k("DBEdit33")), QStringLiteral("ADATA"));
    EXPECT_EQ(okno->powiazania().fieldName(k("DBEdit34")), QStringLiteral("ACYKL"));
    EXPECT_EQ(k<QLineEdit>("DBEdit26")->text(), QStringLiteral("2005.01.31"));

    const QStringList notatka = k<QPlainTextEdit>("Memo1")->toPlainText().split(u'\n');
    EXPECT_EQ(notatka,
              (QStringList{"W programie można  zastosować logo w ", "formacie BMP i nazwie LOGO. ",
                           "Plik proszę umiescić w katalogu:", "C:\\Program files\\qv\\dane  ",
                           "Rozmiar logo w pixelach zależy od rozdzielczości ",
                           "drukarki:", "Aby uzyskać na wydruku logo wielkości 5 cm na 2,5 ",
                           "cm należy wczytać rysunek wielkości:", "",
                           "Rozdzielczość      Szerokość       Wysokość",
                           "drukarki                  pixeli                   pixeli",
                           "300x300                  600                     300",
                           "600x600                1200                     600 "}));
    EXPECT_TRUE(k<QPlainTextEdit>("Memo1")->isReadOnly());
}

// Shown on a closed firm table the window closes at once, and the closing saves nothing.
TEST_F(TFIRMAFTest, ShownWithoutAFirmTableTheFormClosesAtOnce)
{
    otworz(true);
    dane->TFIRMA.close();
    dane->TPARA.edit();
    dane->TPARA.fieldByName(QStringLiteral("ACYKL")).setAsString(QStringLiteral("7"));
    dane->TPARA.cancel();
    // A window that stays open is closed by the test after the window's own closing had its
    // turn, so that the test fails instead of waiting.
    bool zostalo = false;
    QTimer::singleShot(0, [this, &zostalo] {
        QTimer::singleShot(0, [this, &zostalo] {
            if (okno->isVisible()) {
                zostalo = true;
                okno->close();
            }
        });
    });
    okno->exec();
    QCoreApplication::processEvents();
    EXPECT_FALSE(zostalo);
    EXPECT_FALSE(okno->isVisible());
    EXPECT_FALSE(dane->TFIRMA.isOpen());
    EXPECT_TRUE(okna.shown().isEmpty());
}

// Whatever was typed is saved however the window closes, the text of the control that still has
// the focus too, and the configuration table with it.
TEST_F(TFIRMAFTest, ClosingSavesBothTablesWhicheverWayItCloses)
{
    otworz(true);
    const QList<std::pair<const char *, std::function<void(TFIRMAF &)>>> sposoby{
        {"the close box", [](TFIRMAF &f) { f.close(); }},
        {"Escape", [](TFIRMAF &) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"reject", [](TFIRMAF &f) { f.reject(); }},
    };
    int n = 0;
    for (const auto &[nazwa, zamknij] : sposoby) {
        SCOPED_TRACE(nazwa);
        const QString skrot = QStringLiteral("Biuro %1").arg(++n);
        QTimer::singleShot(0, [&, zamknij = zamknij] {
            QApplication::setActiveWindow(okno.get());
            auto *pole = k<QLineEdit>("DBEdit3");
            pole->setFocus(Qt::MouseFocusReason);
            pole->selectAll();
            pisz(pole, skrot);
            dane->TPARA.edit();
            dane->TPARA.fieldByName(QStringLiteral("ACYKL")).setAsInteger(n);
            zamknij(*okno);
        });
        okno->exec();
        EXPECT_FALSE(okno->isVisible());
        EXPECT_EQ(dane->TFIRMA.state(), Table::dsBrowse);
        EXPECT_EQ(dane->TPARA.state(), Table::dsBrowse);
        EXPECT_EQ(zapisane("SKROT"), skrot);
        Table para;
        para.setTableName(katalog.filePath(QStringLiteral("RAWEN")));
        para.open();
        EXPECT_EQ(para.fieldByName(QStringLiteral("ACYKL")).asInteger(), n);
        // Closed, the window is only hidden; it is the same window next time.
        EXPECT_TRUE(k("ENIP"));
    }
    EXPECT_TRUE(okna.shown().isEmpty());
}

TEST_F(TFIRMAFTest, ShowingSelectsTheFirstPage)
{
    otworz(true);
    pokaz();
    k<QTabWidget>("STRONY")->setCurrentIndex(3);
    okno->close();
    pokaz();
    EXPECT_EQ(k<QTabWidget>("STRONY")->currentWidget(), k("STRONA1"));
}

// A new firm's table has no record: closing without typing leaves it so; leaving a seat-address
// control alone gives it its first record.
TEST_F(TFIRMAFTest, ANewFirmGetsARecordOnlyWhenSomethingIsEntered)
{
    otworz(false);
    pokaz();
    k("DBEdit3")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(k("DBEdit3"), Qt::Key_Tab);
    okno->close();
    EXPECT_EQ(zapisane("SKROT"), QStringLiteral("(brak rekordu)"));

    pokaz();
    k<QTabWidget>("STRONY")->setCurrentWidget(k("STRONA2"));
    k("EULICA")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(k("EULICA"), Qt::Key_Tab);
    okno->close();
    EXPECT_EQ(zapisane("SKROT"), QString());
    EXPECT_TRUE(okna.shown().isEmpty());
}

// A seat address typed and tabbed through shows on the page of the residence address; leaving
// the e-mail and WWW controls or a control of the residence page fills nothing.
TEST_F(TFIRMAFTest, TabbingThroughTheSeatAddressFillsTheResidenceAddress)
{
    otworz(false);
    pokaz();
    k<QTabWidget>("STRONY")->setCurrentWidget(k("STRONA2"));
    const QStringList adres{"Polna", "7", "2", "34-100", "Wadowice", "Polska", "MAŁOPOLSKIE"};
    k("EULICA")->setFocus(Qt::MouseFocusReason);
    for (const QString &tekst : adres) {
        pisz(QApplication::focusWidget(), tekst);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // District, commune and locality came from the post office; the user keeps them.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), k("DBEdit29"));
    pisz(k("DBEdit29"), QStringLiteral("biuro@example.com"));
    QTest::keyClick(k("DBEdit29"), Qt::Key_Tab);
    QTest::keyClick(k("DBEdit30"), Qt::Key_Tab);

    k<QTabWidget>("STRONY")->setCurrentWidget(k("STRONA7"));
    const QStringList oczekiwane{"Polna",  "7",           "2",        "34-100",   "Wadowice",
                                 "Polska", "MAŁOPOLSKIE", "Wadowice", "Wadowice", "Wadowice"};
    const char *zamieszkanie[] = {"DBEdit37", "DBEdit38",    "DBEdit39", "DBEdit40", "DBEdit41",
                                  "DBEdit42", "DBComboBox4", "DBEdit43", "DBEdit44", "DBEdit45"};
    for (int i = 0; i < 10; ++i) {
        QWidget *w = k(zamieszkanie[i]);
        const QString tekst = qobject_cast<QComboBox *>(w)
                                  ? qobject_cast<QComboBox *>(w)->currentText()
                                  : qobject_cast<QLineEdit *>(w)->text();
        EXPECT_EQ(tekst, oczekiwane[i]) << zamieszkanie[i];
    }
    // A residence control left changes nothing else.
    k("DBEdit43")->setFocus(Qt::MouseFocusReason);
    pisz(k("DBEdit43"), QStringLiteral("ski"));
    QTest::keyClick(k("DBEdit43"), Qt::Key_Tab);
    okno->close();
    EXPECT_TRUE(okna.shown().isEmpty()) << okna.texts().join(u'\n').toStdString();
    EXPECT_EQ(zapisane("ZULICA"), QStringLiteral("Polna"));
    EXPECT_EQ(zapisane("ZPOWIAT"), QStringLiteral("Wadowiceski"));
    EXPECT_EQ(zapisane("POWIAT"), QStringLiteral("Wadowice"));
    EXPECT_EQ(zapisane("EMAIL"), QStringLiteral("biuro@example.com"));
}

// The payer kind keeps the first character of the chosen item and shows it so again.
TEST_F(TFIRMAFTest, ThePayerKindKeepsTheFirstCharacter)
{
    otworz(true);
    pokaz();
    auto *rp = k<QComboBox>("DBComboBox1");
    rp->setFocus(Qt::MouseFocusReason);
    rp->setCurrentIndex(0);
    QTest::keyClick(rp, Qt::Key_Down);
    QTest::keyClick(rp, Qt::Key_Tab);
    okno->close();
    EXPECT_EQ(zapisane("RP"), QStringLiteral("F"));
    pokaz();
    EXPECT_EQ(rp->currentText(), QStringLiteral("F"));
    // A voivodeship typed by hand is stored as typed.
    wpisz("EWOJEWODZTWO", QStringLiteral("POMORZE ZACHODNIE"));
    QTest::keyClick(k("EWOJEWODZTWO"), Qt::Key_Tab);
    okno->close();
    EXPECT_EQ(zapisane("WOJEWODZTWO"), QStringLiteral("POMORZE ZACHODNIE"));
}

// The form's edits follow their fields: the archive date cannot be typed into, the archive
// period takes whole numbers only, and no edit takes more than its field holds.
TEST_F(TFIRMAFTest, EditsFollowTheirFields)
{
    otworz(true);
    pokaz();
    wpisz("DBEdit26", QString());
    k<QLineEdit>("DBEdit26")->selectAll();
    pisz(k("DBEdit26"), QStringLiteral("2099.12.31"));
    QTest::keyClick(k("DBEdit26"), Qt::Key_Tab);
    wpisz("DBEdit27", QStringLiteral("3x0 dni"));
    QTest::keyClick(k("DBEdit27"), Qt::Key_Tab);
    wpisz("DBEdit3", QString(60, u'ś'));
    EXPECT_EQ(k<QLineEdit>("DBEdit3")->text().size(), 50);
    QTest::keyClick(k("DBEdit3"), Qt::Key_Tab);
    wpisz("DBEdit35", QStringLiteral("04.01.2005"));
    EXPECT_EQ(k<QLineEdit>("DBEdit35")->text(), QStringLiteral("04.01"));
    QTest::keyClick(k("DBEdit35"), Qt::Key_Tab);
    okno->close();
    EXPECT_EQ(zapisane("ARCHDATA"), QStringLiteral("2005.01.31"));
    EXPECT_EQ(k<QLineEdit>("DBEdit26")->text(), QStringLiteral("2005.01.31"));
    EXPECT_EQ(zapisane("ARCHDNI"), QStringLiteral("30"));
    EXPECT_EQ(zapisane("SKROT"), QStringLiteral("Biuro") + QString(45, u'ś'));
    EXPECT_EQ(zapisane("OBRDATA"), QStringLiteral("04.01"));
    EXPECT_TRUE(okna.shown().isEmpty());
}

// The fiscal-year start is a date the working-year check reads: one that cannot exist is refused
// with a message when the control is left or the form closes, and the field keeps what it had.
TEST_F(TFIRMAFTest, AFiscalYearStartThatCannotExistIsRefused)
{
    otworz(true);
    pokaz();
    auto *pole = k<QLineEdit>("DBEdit35");
    wpisz("DBEdit35", QStringLiteral("04.01"));
    QTest::keyClick(pole, Qt::Key_Tab);
    ASSERT_EQ(dane->TFIRMA.fieldByName(QStringLiteral("OBRDATA")).asString(),
              QStringLiteral("04.01"));
    for (const char *zla : {"13.45", "02.30", "4.1"}) {
        SCOPED_TRACE(zla);
        const qsizetype przed = okna.shown().size();
        pole->clear();
        wpisz("DBEdit35", QLatin1String(zla));
        QTest::keyClick(pole, Qt::Key_Tab);
        ASSERT_EQ(okna.shown().size(), przed + 1);
        EXPECT_EQ(okna.shown().last().icon, MessageBoxes::Icon::Error);
        EXPECT_EQ(okna.shown().last().text, BladPoczatkuRoku(QLatin1String(zla)));
        EXPECT_EQ(pole->text(), QStringLiteral("04.01"));
        EXPECT_EQ(dane->TFIRMA.fieldByName(QStringLiteral("OBRDATA")).asString(),
                  QStringLiteral("04.01"));
    }
    // Typed and the form closed at once: refused all the same, the rest saved.
    pole->clear();
    wpisz("DBEdit35", QStringLiteral("13.45"));
    wpisz("DBEdit3", QStringLiteral(" i Syn"));
    pole->setFocus(Qt::MouseFocusReason);
    pole->selectAll();
    pisz(pole, QStringLiteral("13.45"));
    const qsizetype przed = okna.shown().size();
    okno->close();
    ASSERT_EQ(okna.shown().size(), przed + 1);
    EXPECT_EQ(zapisane("OBRDATA"), QStringLiteral("04.01"));
    EXPECT_EQ(zapisane("SKROT"), QStringLiteral("Biuro i Syn"));
}

TEST_F(TFIRMAFTest, TheLogoPageShowsThePictureAndItsSize)
{
    otworz(true);
    QImage logo(600, 300, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    for (const bool zLogo : {true, false}) {
        SCOPED_TRACE(zLogo ? "with a logo" : "without one");
        okno->ustawLogo(zLogo ? &logo : nullptr);
        pokaz();
        for (int raz = 0; raz < 2; ++raz) {
            k<QTabWidget>("STRONY")->setCurrentWidget(k("STRONA1"));
            k<QTabWidget>("STRONY")->setCurrentWidget(k("STRONA6"));
            EXPECT_EQ(k<QLabel>("LabelRys")->text(),
                      zLogo ? QStringLiteral("Wymiar rysuknku :  600 / 300")
                            : QStringLiteral("Wymiar rysuknku :  0 / 0"));
            const QPixmap obraz = k<QLabel>("Image1")->pixmap();
            EXPECT_EQ(obraz.isNull(), !zLogo);
            if (zLogo) {
                EXPECT_EQ(obraz.size(), QSize(280, 140));
            }
        }
        EXPECT_EQ(k("Image1")->size(), QSize(280, 160));
        okno->close();
    }
}

// A number whose check digits disagree is marked beside its control and named in the status
// bar when the control is left; it is stored as typed all the same.
TEST_F(TFIRMAFTest, ANumberWithWrongCheckDigitsIsMarkedButKept)
{
    otworz(true);
    pokaz();
    const struct
    {
        const char *kontrolka;
        const char *pole;
        const char *tekst;
        const char *uwaga; // "" for a good number
    } przypadki[] = {
        {"ENIP", "NIP", "567-890-12-34", "Nieprawidłowa suma kontrolna NIP"},
        {"ENIP", "NIP", "567-890-12-33", ""},
        {"DBEdit2", "REGON", "123456786", "Nieprawidłowa suma kontrolna REGON"},
        {"DBEdit2", "REGON", "73050133000120", ""},
        {"DBEdit9", "PESEL", "9001010012", "PESEL powinien mieć 11 cyfr"},
        {"DBEdit9", "PESEL", "90010100122", ""},
        {"DBEdit23", "NUM1", "PL35 9999 0000 1111 2222 3333 4445",
         "Nieprawidłowa suma kontrolna NRB"},
        {"DBEdit19", "NUM2", "35 9999 0000 1111 2222 3333 4444", ""},
        {"DBEdit28", "NUM3", "53 9999 0000 1111 2222 3333 4444",
         "Nieprawidłowa suma kontrolna NRB"},
    };
    for (const auto &p : przypadki) {
        SCOPED_TRACE(std::string(p.kontrolka) + " " + p.tekst);
        auto *pole = k<QLineEdit>(p.kontrolka);
        pole->clear();
        wpisz(p.kontrolka, QString::fromUtf8(p.tekst));
        QTest::keyClick(pole, Qt::Key_Tab);
        const QString uwaga = QString::fromUtf8(p.uwaga);
        QWidget *znak = k((QStringLiteral("Uwaga") + QLatin1String(p.kontrolka)).toLatin1());
        EXPECT_EQ(znak->isVisible(), !uwaga.isEmpty());
        EXPECT_EQ(znak->toolTip(), uwaga);
        EXPECT_EQ(k<QStatusBar>("StatusBar1")->currentMessage(), uwaga);
        EXPECT_EQ(dane->TFIRMA.fieldByName(QLatin1String(p.pole)).asString(),
                  QString::fromUtf8(p.tekst));
    }
    EXPECT_TRUE(okna.shown().isEmpty());
}

// The status bar shows the hint of the control under the mouse, or of the nearest one around it
// that has one.
TEST_F(TFIRMAFTest, TheStatusBarShowsTheHintUnderTheMouse)
{
    otworz(true);
    pokaz();
    auto *pasek = k<QStatusBar>("StatusBar1");
    const auto wejdz = [](QWidget *w) {
        QEnterEvent wejscie(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
        QCoreApplication::sendEvent(w, &wejscie);
    };
    const auto wyjdz = [](QWidget *w) {
        QEvent wyjscie(QEvent::Leave);
        QCoreApplication::sendEvent(w, &wyjscie);
    };
    wejdz(k("DBEdit3"));
    EXPECT_EQ(pasek->currentMessage(),
              QStringLiteral("Nazwa skrócona używana w programie Płatnik"));
    wyjdz(k("DBEdit3"));
    EXPECT_EQ(pasek->currentMessage(), QString());
    wejdz(k("DBEdit7"));
    EXPECT_EQ(pasek->currentMessage(),
              QStringLiteral("Dane osoby prowadzącej dzialalność gospodarczą"));
    k<QTabWidget>("STRONY")->setCurrentWidget(k("STRONA2"));
    wejdz(k("EKOD"));
    EXPECT_EQ(pasek->currentMessage(), QStringLiteral("adres siedziby firmy"));
}

} // namespace
} // namespace rawen::test
