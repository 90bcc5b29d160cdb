#include "demo/DaneDemo.h"

#include "data/EngineError.h"
#include "data/TabelaFirmy.h"
#include "data/Table.h"
#include "platform/AppContext.h"
#include "year/RegulyKopiiRoku.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QPair>
#include <QStringList>

#include <algorithm>

namespace rawen {

namespace {

// A demo table: its path under the year directory or BAZA ("\" between the parts, as in the
// year-copy rules), its fields as "NAME:TYPE" words (S<size> text, I integer, F number,
// C currency, D date, B logical), the fields of the primary index and of a second,
// case-insensitive one ("" for none), and its records as "|"-separated texts in field order.
// Records may name the year ({R}, {R-1}), the firm's town ({MIASTO}) and its person ({OSOBA}).
struct WzorTabeli
{
    const char *sciezka;
    const char *pola;
    const char *klucz;
    const char *drugiIndeks;
    QList<const char *> rekordy;
};

const QList<WzorTabeli> &WzoryTabelRoku()
{
    static const QList<WzorTabeli> wzory{
        {"ANALIZA\\CENA.DB",
         "NR:I INDEKS:S20 NAZWA:S50 JM:S5 CENAZAK:C CENASPRZ:C MARZA:F",
         "NR",
         "",
         {"1|PAP-A4|Papier ksero A4 80 g/m²|ryz|11.50|16.90|46.96",
          "2|TON-CZ|Toner czarny do drukarki laserowej|szt.|189.00|249.00|31.75",
          "3|SEG-75|Segregator A4 75 mm|szt.|6.20|9.50|53.23",
          "4|DLG-ZEL|Długopis żelowy niebieski|szt.|1.10|2.50|127.27"}},
        {"ANALIZA\\DLUG.DB",
         "NR:I KONTRAHENT:S60 NRFAK:S20 DATA:D TERMIN:D KWOTA:C DNI:I",
         "NR",
         "",
         {"1|Przedsiębiorstwo Handlowe Kasia Zając|FV/1/{R}|{R}-01-05|{R}-01-19|1230.00|12",
          "2|Piekarnia Złoty Kłos s.c.|FV/3/{R}|{R}-01-20|{R}-02-03|3075.00|5",
          "3|Usługi Transportowe Marek Pawlak|FV/5/{R}|{R}-02-10|{R}-02-24|615.00|0"}},
        {"ANALIZA\\IS.DB",
         "MIESIAC:I PRZYCHOD:C KOSZT:C DOCHOD:C",
         "MIESIAC",
         "",
         {"1|18450.00|9320.40|9129.60", "2|17210.00|8845.10|8364.90",
          "3|19980.00|10102.75|9877.25"}},
        {"ANALIZA\\PLATNOSC.DB",
         "NR:I NRFAK:S20 DATA:D KWOTA:C FORMA:S20",
         "NR",
         "",
         {"1|FV/1/{R}|{R}-01-15|1230.00|przelew", "2|FV/2/{R}|{R}-01-12|492.00|gotówka",
          "3|FV/3/{R}|{R}-01-29|3075.00|przelew"}},
        {"ANALIZA\\WS.DB",
         "NR:I WSKAZNIK:S40 WARTOSC:F OPIS:S60",
         "NR",
         "",
         {"1|Rentowność sprzedaży|49.5|Dochód do przychodu, w procentach",
          "2|Udział kosztów stałych|31.2|Koszty stałe do kosztów razem, w procentach",
          "3|Średni termin zapłaty|14|Dni od wystawienia faktury do zapłaty"}},

        {"AUTO\\TRASA.DB",
         "NR:I DATA:D NRREJ:S10 TRASA:S60 CEL:S60 KM:F STAWKA:F KWOTA:C",
         "NR",
         "",
         {"1|{R}-01-09|KT 4521C|{MIASTO} – Kraków – {MIASTO}|Dostarczenie dokumentów "
          "klientowi|162|0.8358|135.40",
          "2|{R}-01-16|KT 4521C|{MIASTO} – Dębica – {MIASTO}|Spotkanie z klientem|78|0.8358|65.19",
          "3|{R}-01-23|KT 4521C|{MIASTO} – Bochnia – {MIASTO}|Szkolenie|96|0.8358|80.24"}},
        {"AUTO\\KOSZTY.DB",
         "NR:I DATA:D NRREJ:S10 DOKUMENT:S20 OPIS:S50 NETTO:C VAT:C",
         "NR",
         "",
         {"1|{R}-01-12|KT 4521C|FV/0112/{R}/P|Olej napędowy 45 l|243.90|56.10",
          "2|{R}-01-27|KT 4521C|FV/88/{R}|Wymiana klocków hamulcowych|390.00|89.70",
          "3|{R}-02-05|KT 4521C|PAR/3321|Myjnia|32.52|7.48"}},
        {"AUTO\\SUMA.DB",
         "MIESIAC:I KM:F KWOTA:C KOSZTY:C",
         "MIESIAC",
         "",
         {"1|336|280.83|633.90", "2|0|0|32.52"}},
        {"AUTO\\AUTO.DB",
         "NRREJ:S10 MARKA:S30 MODEL:S30 POJEMNOSC:I ROKPROD:I VIN:S17 STAWKA:F",
         "NRREJ",
         "",
         {"KT 4521C|Škoda|Octavia 1.6 TDI|1598|{R-1}|TMBAG7NE5G0123456|0.8358",
          "KT 7130E|Opel|Astra 1.4|1399|2012|W0L0AHL4858012345|0.8358"}},
        {"AUTO\\OPISTRASA.DB",
         "NR:I OPIS:S60",
         "NR",
         "",
         {"1|{MIASTO} – Kraków – {MIASTO}", "2|{MIASTO} – Dębica – {MIASTO}",
          "3|{MIASTO} – Bochnia – {MIASTO}"}},
        {"AUTO\\OPISCEL.DB",
         "NR:I OPIS:S60",
         "NR",
         "",
         {"1|Dostarczenie dokumentów klientowi", "2|Spotkanie z klientem", "3|Szkolenie",
          "4|Urząd skarbowy"}},
        {"AUTO\\OPISKOSZT.DB",
         "NR:I OPIS:S60",
         "NR",
         "",
         {"1|Paliwo", "2|Naprawa i części", "3|Myjnia", "4|Ubezpieczenie OC"}},
        {"AUTO\\STAWKA.DB",
         "NR:I POJAZD:S60 STAWKA:F",
         "NR",
         "",
         {"1|Samochód osobowy o pojemności do 900 cm³|0.5214",
          "2|Samochód osobowy o pojemności powyżej 900 cm³|0.8358", "3|Motocykl|0.2302",
          "4|Motorower|0.1382"}},

        {"DRUKI\\SELVIK.DB",
         "NR:I MIESIAC:I POZ:S5 OPIS:S60 KWOTA:C",
         "NR",
         "",
         {"1|1|P_19|Dostawa towarów i usług 23% – podstawa|18450.00",
          "2|1|P_20|Dostawa towarów i usług 23% – podatek|4243.50",
          "3|1|P_51|Podatek do wpłaty|2196.00"}},
        {"DRUKI\\SUMA.DB",
         "POZ:I OPIS:S40 01N:C 01V:C 02N:C 02V:C 03N:C 03V:C 04N:C 04V:C 05N:C 05V:C 06N:C 06V:C "
         "07N:C 07V:C 08N:C 08V:C 09N:C 09V:C 10N:C 10V:C 11N:C 11V:C 12N:C 12V:C",
         "POZ",
         "",
         {"1|Sprzedaż 23%|18450.00|4243.50|17210.00|3958.30|19980.00|4595.40",
          "2|Sprzedaż 8%|1200.00|96.00|950.00|76.00|1100.00|88.00",
          "3|Zakupy 23%|9320.40|2143.69|8845.10|2034.37|10102.75|2323.63"}},
        {"DRUKI\\SSELVIK.DB",
         "POZ:S5 OPIS:S60 WZOR:S60",
         "POZ",
         "",
         {"P_19|Podstawa opodatkowania 23%|SUMA(NETTO23)", "P_20|Podatek należny 23%|SUMA(VAT23)",
          "P_42|Podstawa nabycia pozostałych towarów i usług|SUMA(NETTO23;Z)"}},
        {"DRUKI\\DSELVIK7.DB",
         "MIESIAC:I DATA:D NALEZNY:C NALICZONY:C DOZAPLATY:C DOZWROTU:C",
         "MIESIAC",
         "",
         {"1|{R}-02-20|4339.50|2143.69|2196.00|0", "2|{R}-03-20|4034.30|2034.37|2000.00|0"}},
        {"DRUKI\\DPIT5.DB",
         "MIESIAC:I PRZYCHOD:C KOSZTY:C DOCHOD:C ZALICZKA:C",
         "MIESIAC",
         "",
         {"1|18450.00|9320.40|9129.60|796.00", "2|35660.00|18165.50|17494.50|703.00"}},

        {"FIN\\NAGBANK.DB",
         "NR:I NRWYCIAGU:S20 DATA:D SALDOP:C WPLYWY:C WYPLATY:C SALDOK:C",
         "NR",
         "",
         {"1|1/{R}|{R}-01-31|12480.35|21033.00|14250.90|19262.45",
          "2|2/{R}|{R}-02-28|19262.45|18900.00|16034.20|22128.25"}},
        {"FIN\\NAGFAKS.DB",
         "NR:I NRFAK:S20 DATA:D DATASP:D NRKONTR:I NAZWA:S60 NETTO:C VAT:C BRUTTO:C FORMA:S20 "
         "TERMIN:D",
         "NR",
         "",
         {"1|FV/1/{R}|{R}-01-05|{R}-01-05|1|Przedsiębiorstwo Handlowe Kasia "
          "Zając|1000.00|230.00|1230.00|przelew|{R}-01-19",
          "2|FV/2/{R}|{R}-01-12|{R}-01-12|2|Usługi Transportowe Marek "
          "Pawlak|400.00|92.00|492.00|gotówka|{R}-01-12",
          "3|FV/3/{R}|{R}-01-20|{R}-01-20|3|Piekarnia Złoty Kłos "
          "s.c.|2500.00|575.00|3075.00|przelew|{R}-02-03"}},
        {"FIN\\POZFAKS.DB",
         "NR:I LP:I NAZWA:S60 JM:S5 ILOSC:F CENA:C STAWKA:S3 NETTO:C VAT:C",
         "NR;LP",
         "",
         {"1|1|Prowadzenie księgi przychodów i rozchodów|usł.|1|800.00|23|800.00|184.00",
          "1|2|Sporządzenie deklaracji VAT|usł.|1|200.00|23|200.00|46.00",
          "2|1|Obsługa kadrowo-płacowa|usł.|2|200.00|23|400.00|92.00",
          "3|1|Prowadzenie pełnej księgowości|usł.|1|2500.00|23|2500.00|575.00"}},
        {"FIN\\SUMA.DB",
         "MIESIAC:I NETTO:C VAT:C BRUTTO:C",
         "MIESIAC",
         "",
         {"1|3900.00|897.00|4797.00", "2|2500.00|575.00|3075.00"}},
        {"FIN\\IndMat.DB",
         "INDEKS:S20 NAZWA:S60 JM:S5 STAWKA:S3 CENA:C BOILOSC:F BOWARTOSC:C",
         "INDEKS",
         "NAZWA",
         {"PAP-A4|Papier ksero A4 80 g/m²|ryz|23|11.50|40|460.00",
          "SEG-75|Segregator A4 75 mm|szt.|23|6.20|120|744.00",
          "TON-CZ|Toner czarny do drukarki laserowej|szt.|23|189.00|3|567.00"}},
        {"FIN\\RD.DB",
         "RODZAJ:S10 OPIS:S40 WZOR:S30 NR:I NR1:I NR2:I NR3:I NR4:I NR5:I NR6:I NR7:I NR8:I "
         "NR9:I NR10:I NR11:I NR12:I",
         "RODZAJ",
         "",
         {"FV|Faktura VAT|FV/NR/ROK|5|3|2", "FK|Faktura korygująca|FK/NR/ROK|0",
          "KP|Dowód wpłaty|KP/NR/ROK|1|1", "KW|Dowód wypłaty|KW/NR/ROK|1|1"}},
        {"FIN\\KOD.DB",
         "KOD:S6 MIEJSCOWOSC:S30 POCZTA:S30 WOJEWODZTWO:S30",
         "KOD;MIEJSCOWOSC",
         "",
         {"33-100|Tarnów|Tarnów|małopolskie", "26-200|Końskie|Końskie|świętokrzyskie",
          "34-400|Nowy Targ|Nowy Targ|małopolskie", "31-154|Kraków|Kraków|małopolskie",
          "39-200|Dębica|Dębica|podkarpackie"}},
        {"FIN\\KONTRAHI.DB",
         "NR:I SKROT:S20 NAZWA:S60 NIP:S13 ULICA:S30 NUMER:S7 KOD:S6 MIEJSCOWOSC:S30 "
         "TELEFON:S20 KONTO:S40",
         "NR",
         "SKROT",
         {"1|KASIA|Przedsiębiorstwo Handlowe Kasia Zając|993-046-12-72|Lwowska|12|33-100|"
          "Tarnów|14 600 10 20|",
          "2|PAWLAK|Usługi Transportowe Marek Pawlak|873-201-54-88|Krakowska|140|33-100|"
          "Tarnów|601 200 300|",
          "3|ZŁOTY KŁOS|Piekarnia Złoty Kłos s.c.|872-114-39-00|Słoneczna|4|39-200|Dębica|"
          "14 680 30 40|"}},
        {"FIN\\KONTRAHO.DB",
         "NR:I SKROT:S20 NAZWA:S60 NIP:S13 ULICA:S30 NUMER:S7 KOD:S6 MIEJSCOWOSC:S30 "
         "TELEFON:S20 KONTO:S40",
         "NR",
         "SKROT",
         {"1|RYZA|Hurtownia Papiernicza Ryza Sp. z o.o.|677-221-90-61|Przemysłowa|8|31-154|"
          "Kraków|12 400 50 60|37 1140 2017 0000 3456 7890 1234",
          "2|BIURTECH|Biurtech Serwis Komputerowy Piotr Lis|993-118-47-51|Mickiewicza|21|33-100|"
          "Tarnów|14 600 70 80|",
          "3|POD DĘBEM|Stacja Paliw Pod Dębem Sp. j.|873-009-26-45|Krakowska|210|33-100|Tarnów|"
          "14 600 90 10|"}},
        {"FIN\\KURSY.DB",
         "DATA:D WALUTA:S3 KURS:F TABELA:S20",
         "DATA;WALUTA",
         "",
         {"{R}-01-02|EUR|4.3434|001/A/NBP/{R}", "{R}-01-02|USD|3.9432|001/A/NBP/{R}",
          "{R}-01-03|EUR|4.3480|002/A/NBP/{R}", "{R}-01-03|USD|3.9707|002/A/NBP/{R}"}},
        {"FIN\\ODSETKI.DB",
         "OD:D STOPA:F RODZAJ:S40",
         "OD",
         "",
         {"2022-09-08|12.25|ustawowe za opóźnienie", "2023-09-07|11.5|ustawowe za opóźnienie",
          "2023-10-05|11.25|ustawowe za opóźnienie"}},
        {"FIN\\SDOST.DB",
         "NR:I OPIS:S40",
         "NR",
         "",
         {"1|Odbiór osobisty", "2|Kurier", "3|Poczta Polska", "4|Transport własny"}},
        {"FIN\\SJM.DB",
         "JM:S5 OPIS:S30",
         "JM",
         "",
         {"szt.|sztuka", "kg|kilogram", "godz.|godzina", "usł.|usługa", "ryz|ryza"}},
        {"FIN\\SOPIS.DB",
         "NR:I OPIS:S60",
         "NR",
         "",
         {"1|Usługi księgowe", "2|Obsługa kadrowo-płacowa", "3|Sporządzenie deklaracji",
          "4|Doradztwo podatkowe"}},
        {"FIN\\SPEC.DB",
         "NR:I PARAMETR:S30 WARTOSC:S60",
         "NR",
         "",
         {"1|Miejsce wystawienia|{MIASTO}", "2|Termin płatności w dniach|14",
          "3|Uwagi na fakturze|Dziękujemy za terminową zapłatę.", "4|Liczba kopii|1"}},
        {"FIN\\SPRZE.DB",
         "NR:I DATA:D NRDOK:S20 KONTRAHENT:S60 NETTO:C VAT:C BRUTTO:C",
         "NR",
         "",
         {"1|{R}-01-05|FV/1/{R}|Przedsiębiorstwo Handlowe Kasia Zając|1000.00|230.00|1230.00",
          "2|{R}-01-12|FV/2/{R}|Usługi Transportowe Marek Pawlak|400.00|92.00|492.00",
          "3|{R}-01-20|FV/3/{R}|Piekarnia Złoty Kłos s.c.|2500.00|575.00|3075.00"}},
        {"FIN\\SSELVIK.DB",
         "STAWKA:S3 PROCENT:F OPIS:S30",
         "STAWKA",
         "",
         {"23|23|stawka podstawowa", "8|8|stawka obniżona", "5|5|stawka obniżona",
          "0|0|stawka zerowa", "zw|0|zwolnione z podatku"}},
        {"FIN\\SZAPLAT.DB",
         "NR:I FORMA:S20 DNI:I",
         "NR",
         "",
         {"1|gotówka|0", "2|przelew|14", "3|karta płatnicza|0", "4|kompensata|30"}},
        {"FIN\\WALUTA.DB",
         "KOD:S3 NAZWA:S30 KRAJ:S30",
         "KOD",
         "",
         {"PLN|złoty|Polska", "EUR|euro|strefa euro", "USD|dolar amerykański|Stany Zjednoczone",
          "CHF|frank szwajcarski|Szwajcaria"}},
        {"FIN\\WYST.DB",
         "NR:I OSOBA:S50 STANOWISKO:S30",
         "NR",
         "",
         {"1|{OSOBA}|właściciel", "2|Ewa Mazur|specjalista ds. księgowości"}},
        {"FIN\\ZAKUP.DB",
         "NR:I DATA:D NRDOK:S20 KONTRAHENT:S60 OPIS:S50 NETTO:C VAT:C BRUTTO:C",
         "NR",
         "",
         {"1|{R}-01-08|FV/112/{R}|Hurtownia Papiernicza Ryza Sp. z o.o.|Materiały "
          "biurowe|1500.00|345.00|1845.00",
          "2|{R}-01-12|FV/0112/{R}/P|Stacja Paliw Pod Dębem Sp. j.|Olej "
          "napędowy|243.90|56.10|300.00",
          "3|{R}-01-31|FV/31/{R}|Biurtech Serwis Komputerowy Piotr Lis|Serwis "
          "komputerów|450.00|103.50|553.50"}},
        {"FIN\\ZLEC.DB",
         "NR:I DATA:D ODBIORCA:S60 KONTO:S40 KWOTA:C TYTUL:S60",
         "NR",
         "",
         {"1|{R}-01-20|Hurtownia Papiernicza Ryza Sp. z o.o.|37 1140 2017 0000 3456 7890 "
          "1234|1845.00|Zapłata za FV/112/{R}",
          "2|{R}-02-20|Urząd Skarbowy|71 1010 1515 0000 2200 0000 0000|2196.00|VAT-7 za "
          "styczeń {R}"}},

        {"PUNTOR\\NAGPUNTOR.DB",
         "NR:I OD:D DO:D SALDOP:C PRZYCHOD:C ROZCHOD:C SALDOK:C",
         "NR",
         "",
         {"1|{R}-01-01|{R}-01-31|850.00|492.00|332.52|1009.48",
          "2|{R}-02-01|{R}-02-28|1009.48|0|120.00|889.48"}},
        {"PUNTOR\\RPUNTOR.DB",
         "NR:I LP:I DATA:D DOKUMENT:S20 OPIS:S60 PRZYCHOD:C ROZCHOD:C",
         "NR;LP",
         "",
         {"1|1|{R}-01-12|KP/1/{R}|Wpłata za FV/2/{R}|492.00|",
          "1|2|{R}-01-14|RACH/14/{R}|Zakup znaczków pocztowych||40.00",
          "1|3|{R}-01-27|KW/1/{R}|Zaliczka na delegację||292.52"}},
        {"PUNTOR\\PUNTOR.DB",
         "NR:I NAZWA:S40 WALUTA:S3 SALDO:C",
         "NR",
         "",
         {"1|Kasa główna|PLN|850.00", "2|Kasa walutowa|EUR|120.00"}},
        {"PUNTOR\\OPISPUNTOR.DB",
         "NR:I OPIS:S60",
         "NR",
         "",
         {"1|Wpłata za fakturę", "2|Zakup materiałów biurowych", "3|Zaliczka na delegację",
          "4|Wpłata gotówki do banku"}},

        {"HARNOL\\HARNOL.DB",
         "LP:I DATA:D NRDOK:S20 KONTRAHENT:S60 ADRES:S60 OPIS:S50 K7:C K8:C K9:C K10:C K11:C "
         "K12:C K13:C K14:C K15:C K16:C UWAGI:S30",
         "LP",
         "",
         {"1|{R}-01-05|FV/1/{R}|Przedsiębiorstwo Handlowe Kasia Zając|ul. Lwowska 12, 33-100 "
          "Tarnów|Usługi księgowe|1000.00||1000.00",
          "2|{R}-01-08|FV/112/{R}|Hurtownia Papiernicza Ryza Sp. z o.o.|ul. Przemysłowa 8, "
          "31-154 Kraków|Materiały biurowe|||||||1500.00|1500.00",
          "3|{R}-01-12|FV/2/{R}|Usługi Transportowe Marek Pawlak|ul. Krakowska 140, 33-100 "
          "Tarnów|Usługi kadrowe|400.00||400.00",
          "4|{R}-01-20|FV/3/{R}|Piekarnia Złoty Kłos s.c.|ul. Słoneczna 4, 39-200 "
          "Dębica|Usługi księgowe|2500.00||2500.00"}},
        {"HARNOL\\SUMA.DB",
         "MIESIAC:I OZN:S10 NAZWISKO:S40 DATA:D K7:C K8:C K9:C K10:C K11:C K12:C K13:C K14:C "
         "K15:C K16:C Ilstr:I W1:C W2:C W3:C",
         "MIESIAC",
         "",
         {"1|01/{R}|{OSOBA}|{R}-01-31|3900.00|0|3900.00|0|0|0|1500.00|1500.00|0|0|1|3900.00|"
          "1500.00|2400.00",
          "2|02/{R}|{OSOBA}|{R}-02-28|2500.00|0|2500.00|0|0|0|553.50|553.50|0|0|1|6400.00|"
          "2053.50|4346.50"}},
        {"HARNOL\\OPISZG.DB",
         "NR:I OPIS:S50 KOLUMNA:I",
         "NR",
         "",
         {"1|Usługi księgowe|7", "2|Materiały biurowe|13", "3|Paliwo|13", "4|Wynagrodzenia|12"}},
        {"HARNOL\\USER.DB",
         "NR:I OSOBA:S50 UPRAWNIENIA:S20",
         "NR",
         "",
         {"1|{OSOBA}|administrator", "2|Ewa Mazur|księgowa"}},

        {"GARVEL\\AMOR.DB",
         "NRINW:S20 MIESIAC:I KWOTA:C UMORZENIE:C",
         "NRINW;MIESIAC",
         "",
         {"ST/001|1|1000.00|10000.00", "ST/002|1|112.50|787.50", "ST/001|2|1000.00|11000.00",
          "ST/002|2|112.50|900.00"}},
        {"GARVEL\\DOK.DB",
         "NR:I RODZAJ:S5 DATA:D NRINW:S20 OPIS:S60",
         "NR",
         "",
         {"1|OT|{R}-01-10|ST/003|Przyjęcie drukarki laserowej do używania",
          "2|LT|{R}-01-25|ST/000|Likwidacja zużytego monitora"}},
        {"GARVEL\\LOK.DB",
         "NR:I NAZWA:S40",
         "NR",
         "",
         {"1|Biuro – pokój 1", "2|Biuro – pokój 2", "3|Garaż"}},
        {"GARVEL\\GARVEL.DB",
         "NRINW:S20 NAZWA:S50 KST:S10 DATAPRZYJ:D WARTOSC:C STAWKA:F METODA:S1 UMORZENIE:C "
         "LOKALIZACJA:I",
         "NRINW",
         "NAZWA",
         {"ST/001|Samochód osobowy Škoda Octavia|741|{R-1}-03-15|60000.00|20|L|9000.00|3",
          "ST/002|Komputer przenośny|491|{R-1}-06-20|4500.00|30|L|675.00|1",
          "ST/003|Drukarka laserowa|491|{R}-01-10|2100.00|30|L|0|2"}},
        {"GARVEL\\SUMA.DB",
         "GRUPA:I OPIS:S60 OZN:S10 POLE1:C POLE2:C POLE3:C POLE4:C POLE5:C POLE6:C POLE7:C "
         "POLE8:C",
         "GRUPA",
         "",
         {"4|Maszyny, urządzenia i aparaty ogólnego "
          "zastosowania|G4|4500.00|2100.00|0|6600.00|675.00|277.50|0|952.50",
          "7|Środki transportu|G7|60000.00|0|0|60000.00|9000.00|2000.00|0|11000.00"}},

        {"SELVIK\\SELVIK.DB",
         "NR:I REJESTR:S1 DATA:D NRDOK:S20 KONTRAHENT:S60 NIP:S13 NETTO23:C VAT23:C NETTO8:C "
         "VAT8:C NETTO5:C VAT5:C ZW:C",
         "NR",
         "",
         {"1|S|{R}-01-05|FV/1/{R}|Przedsiębiorstwo Handlowe Kasia "
          "Zając|993-046-12-72|1000.00|230.00",
          "2|S|{R}-01-12|FV/2/{R}|Usługi Transportowe Marek Pawlak|873-201-54-88|400.00|92.00",
          "3|Z|{R}-01-08|FV/112/{R}|Hurtownia Papiernicza Ryza Sp. z "
          "o.o.|677-221-90-61|1500.00|345.00"}},
        {"SELVIK\\SELVIKUE.DB",
         "NR:I DATA:D NRDOK:S20 KONTRAHENT:S60 KRAJ:S2 NRVATUE:S14 NETTO:C RODZAJ:S3",
         "NR",
         "",
         {"1|{R}-01-18|RE-{R}-0045|Bürobedarf Schmidt GmbH|DE|DE123456789|320.00|WNT",
          "2|{R}-02-02|FA/7/{R}|Kancelář Novák s.r.o.|CZ|CZ12345678|1500.00|IU"}},

        {"PLACE\\STALE.DB",
         "NR:I NAZWA:S50 WARTOSC:F OD:D",
         "NR",
         "",
         {"1|Składka emerytalna pracownika (%)|9.76|1999-01-01",
          "2|Składka rentowa pracownika (%)|1.5|2012-02-01",
          "3|Składka chorobowa (%)|2.45|1999-01-01", "4|Składka zdrowotna (%)|9|2007-01-01",
          "5|Koszty uzyskania przychodu (zł miesięcznie)|250|2019-10-01"}},

        {"SLOWNIKI\\KONTAK.DB",
         "NR:I NAZWISKO:S30 IMIE:S20 FIRMA:S60 TELEFON:S20 EMAIL:S50",
         "NR",
         "NAZWISKO",
         {"1|Zając|Katarzyna|Przedsiębiorstwo Handlowe Kasia Zając|600 100 200|"
          "k.zajac@kasiazajac.example",
          "2|Pawlak|Marek|Usługi Transportowe Marek Pawlak|601 200 300|transport@pawlak.example",
          "3|Nowicka|Joanna|Piekarnia Złoty Kłos s.c.|602 300 400|biuro@zlotyklos.example"}},
    };
    return wzory;
}

const QList<WzorTabeli> &WzoryTabelBazy()
{
    static const QList<WzorTabeli> wzory{
        {"STAWKIVAT.DB",
         "STAWKA:S3 PROCENT:F OPIS:S30 OD:D",
         "STAWKA",
         "",
         {"23|23|stawka podstawowa|2011-01-01", "8|8|stawka obniżona|2011-01-01",
          "5|5|stawka obniżona|2011-01-01", "0|0|stawka zerowa|2004-05-01",
          "zw|0|zwolnione z podatku|2004-05-01"}},
        {"URZEDY.DB",
         "NR:I NAZWA:S60 MIEJSCOWOSC:S30 KOD:S6",
         "NR",
         "NAZWA",
         {"1|Urząd Skarbowy w Tarnowie|Tarnów|33-100", "2|Urząd Skarbowy w Końskich|Końskie|26-200",
          "3|Urząd Skarbowy w Nowym Targu|Nowy Targ|34-400",
          "4|Pierwszy Urząd Skarbowy Kraków|Kraków|31-154"}},
        {"JEDNOSTKI.DB",
         "JM:S5 OPIS:S30",
         "JM",
         "",
         {"szt.|sztuka", "kg|kilogram", "l|litr", "m|metr", "m²|metr kwadratowy", "godz.|godzina"}},
        {"BANKI.DB",
         "NRROZ:S8 NAZWA:S60",
         "NRROZ",
         "",
         {"10204984|PKO Bank Polski S.A.", "12404559|Bank Pekao S.A.",
          "10501647|ING Bank Śląski S.A.", "11402017|mBank S.A."}},
    };
    return wzory;
}

// The three demo firms, as field values of the firm table.
using DaneFirmy = QList<QPair<const char *, const char *>>;

struct FirmaDemo
{
    int numer;
    const char *osoba; // who keeps the books or runs the firm; fills {OSOBA}
    DaneFirmy dane;
};

const QList<FirmaDemo> &FirmyDemo()
{
    static const QList<FirmaDemo> firmy{
        {0,
         "Anna Kowalczyk",
         {{"NIP", "873-155-01-91"},
          {"REGON", "851107331"},
          {"PESEL", "78031508424"},
          {"RHB", "CEIDG"},
          {"SKROT", "Biuro Bilans"},
          {"NAZWA1", "Biuro Rachunkowe BILANS"},
          {"NAZWA2", "Anna Kowalczyk"},
          {"NAZWISKO", "Kowalczyk"},
          {"IMIE", "Anna"},
          {"DATAUR", "15-03-1978"},
          {"ULICA", "Krakowska"},
          {"NUMER", "15"},
          {"LOKAL", "3"},
          {"KOD", "33-100"},
          {"POCZTA", "Tarnów"},
          {"KRAJ", "Polska"},
          {"WOJEWODZTWO", "małopolskie"},
          {"POWIAT", "Tarnów"},
          {"GMINA", "Tarnów"},
          {"MIEJSCOWOSC", "Tarnów"},
          {"EMAIL", "biuro@bilans-tarnow.example"},
          {"WWW", "www.bilans-tarnow.example"},
          {"RP", "F"},
          {"BANK", "PKO Bank Polski S.A."},
          {"ADRES1", "Tarnów"},
          {"NUM1", "90 1020 4984 0000 1902 0123 4567"},
          {"URZAD", "Urząd Skarbowy w Tarnowie"},
          {"ZULICA", "Szkotnik"},
          {"ZNUMER", "8"},
          {"ZKOD", "33-100"},
          {"ZPOCZTA", "Tarnów"},
          {"ZKRAJ", "Polska"},
          {"ZWOJEWODZTWO", "małopolskie"},
          {"ZPOWIAT", "Tarnów"},
          {"ZGMINA", "Tarnów"},
          {"ZMIEJSCOWOSC", "Tarnów"}}},
        {1,
         "Jan Wiśniewski",
         {{"NIP", "658-170-34-26"},
          {"REGON", "260114788"},
          {"PESEL", "65110207134"},
          {"RHB", "CEIDG"},
          {"SKROT", "Sklep Pod Lipą"},
          {"NAZWA1", "Sklep Spożywczo-Przemysłowy POD LIPĄ"},
          {"NAZWA2", "Jan Wiśniewski"},
          {"NAZWISKO", "Wiśniewski"},
          {"IMIE", "Jan"},
          {"DATAUR", "02-11-1965"},
          {"ULICA", "Rynek"},
          {"NUMER", "7"},
          {"KOD", "26-200"},
          {"POCZTA", "Końskie"},
          {"KRAJ", "Polska"},
          {"WOJEWODZTWO", "świętokrzyskie"},
          {"POWIAT", "konecki"},
          {"GMINA", "Końskie"},
          {"MIEJSCOWOSC", "Końskie"},
          {"EMAIL", "sklep@podlipa.example"},
          {"RP", "F"},
          {"BANK", "Bank Pekao S.A."},
          {"ADRES1", "Końskie"},
          {"NUM1", "46 1240 4559 1111 0000 9876 5432"},
          {"URZAD", "Urząd Skarbowy w Końskich"},
          {"ZULICA", "Polna"},
          {"ZNUMER", "3"},
          {"ZKOD", "26-200"},
          {"ZPOCZTA", "Końskie"},
          {"ZKRAJ", "Polska"},
          {"ZWOJEWODZTWO", "świętokrzyskie"},
          {"ZPOWIAT", "konecki"},
          {"ZGMINA", "Końskie"},
          {"ZMIEJSCOWOSC", "Końskie"}}},
        {2,
         "Tomasz Bąk",
         {{"NIP", "735-201-86-46"},
          {"REGON", "492130566"},
          {"RHB", "KRS 0000412345, Sąd Rejonowy dla Krakowa"},
          {"SKROT", "JODŁA Sp. z o.o."},
          {"NAZWA1", "Zakład Stolarski JODŁA"},
          {"NAZWA2", "Spółka z ograniczoną odpowiedzialnością"},
          {"ULICA", "Kolejowa"},
          {"NUMER", "42"},
          {"KOD", "34-400"},
          {"POCZTA", "Nowy Targ"},
          {"KRAJ", "Polska"},
          {"WOJEWODZTWO", "małopolskie"},
          {"POWIAT", "nowotarski"},
          {"GMINA", "Nowy Targ"},
          {"MIEJSCOWOSC", "Nowy Targ"},
          {"EMAIL", "biuro@jodla-stolarnia.example"},
          {"WWW", "www.jodla-stolarnia.example"},
          {"RP", "P"},
          {"BANK", "ING Bank Śląski S.A."},
          {"ADRES1", "Nowy Targ"},
          {"NUM1", "75 1050 1647 5100 0000 1234 5678"},
          {"URZAD", "Urząd Skarbowy w Nowym Targu"},
          {"KAPITAL", "50 000,00 zł"}}},
    };
    return firmy;
}

// The eight module programs the main window looks for in the data root.
const QStringList &ProgramyModulow()
{
    static const QStringList programy{"dremot.exe", "lomira.exe", "harnol.exe", "garvel.exe",
                                      "selvik.exe", "tessun.exe", "puntor.exe", "borvik.exe"};
    return programy;
}

QString sciezkaPod(const QString &katalog, const char *sciezka)
{
    return QDir(katalog).filePath(QString::fromUtf8(sciezka).replace(u'\\', u'/'));
}

QList<FieldDef> polaWzoru(const char *opis)
{
    QList<FieldDef> pola;
    const QStringList slowa = QString::fromLatin1(opis).split(u' ', Qt::SkipEmptyParts);
    for (const QString &slowo : slowa) {
        const QString nazwa = slowo.section(u':', 0, 0);
        const QString typ = slowo.section(u':', 1);
        FieldDef pole{nazwa, ftUnknown, 0, false};
        switch (typ.isEmpty() ? u'?' : typ.at(0).unicode()) {
        case u'S':
            pole.dataType = ftString;
            pole.size = typ.mid(1).toInt();
            break;
        case u'I':
            pole.dataType = ftInteger;
            break;
        case u'F':
            pole.dataType = ftFloat;
            break;
        case u'C':
            pole.dataType = ftCurrency;
            break;
        case u'D':
            pole.dataType = ftDate;
            break;
        case u'B':
            pole.dataType = ftBoolean;
            break;
        default:
            break; // ftUnknown: the engine refuses the definition and names the table
        }
        pola << pole;
    }
    return pola;
}

QList<IndexDef> indeksyWzoru(const WzorTabeli &wzor)
{
    QList<IndexDef> indeksy;
    if (*wzor.klucz)
        indeksy << IndexDef{QString(), QString::fromLatin1(wzor.klucz), ixPrimary | ixUnique};
    if (*wzor.drugiIndeks) {
        const QString pole = QString::fromLatin1(wzor.drugiIndeks);
        indeksy << IndexDef{pole, pole, ixCaseInsensitive};
    }
    return indeksy;
}

using Podstawienia = QList<QPair<QString, QString>>;

QString podstaw(const char *tekst, const Podstawienia &podstawienia)
{
    QString wynik = QString::fromUtf8(tekst);
    for (const auto &[znacznik, wartosc] : podstawienia)
        wynik.replace(znacznik, wartosc);
    return wynik;
}

// The other firms keep a little less history than firm 000, so that they do not look cloned.
void utworzTabele(const QString &sciezka, const WzorTabeli &wzor, const Podstawienia &podstawienia,
                  int pominiete)
{
    Table tabela;
    tabela.setTableName(sciezka);
    tabela.fieldDefs() = polaWzoru(wzor.pola);
    tabela.indexDefs() = indeksyWzoru(wzor);
    tabela.createTable();
    tabela.fieldDefs().clear();
    tabela.indexDefs().clear();
    tabela.open();
    const int ile = std::max<int>(std::min<int>(2, int(wzor.rekordy.size())),
                                  int(wzor.rekordy.size()) - pominiete);
    tabela.startTransaction();
    for (int r = 0; r < ile; ++r) {
        const QStringList wartosci = podstaw(wzor.rekordy[r], podstawienia).split(u'|');
        tabela.append();
        for (int i = 0; i < wartosci.size() && i < tabela.fieldCount(); ++i)
            tabela.field(i).setAsString(wartosci[i]);
        tabela.post();
    }
    tabela.commit();
    tabela.close();
}

void utworzKatalog(const QString &sciezka)
{
    if (!QDir().mkpath(sciezka))
        throw BladDanychDemo(QStringLiteral("Nie można utworzyć katalogu %1.")
                                 .arg(QDir::toNativeSeparators(sciezka)));
}

void utworzTabeleFirmy(const QString &katalogFirmy, const FirmaDemo &firma, QDate dzis)
{
    Table tabela;
    tabela.setTableName(QDir(katalogFirmy).filePath(QStringLiteral("FIRMA")));
    AktualizujTabeleFirmy(tabela);
    tabela.append();
    tabela.fieldByName(QStringLiteral("NR")).setAsInteger(firma.numer);
    for (const auto &[pole, wartosc] : firma.dane)
        tabela.fieldByName(QString::fromLatin1(pole)).setAsString(QString::fromUtf8(wartosc));
    // A recent archive and a week's period: the demo does not greet its user with a reminder.
    tabela.fieldByName(QStringLiteral("ARCHDATA"))
        .setAsString(dzis.addDays(-2).toString(QStringLiteral("yyyy.MM.dd")));
    tabela.fieldByName(QStringLiteral("ARCHDNI")).setAsInteger(7);
    tabela.fieldByName(QStringLiteral("LOGO")).setAsBoolean(false);
    tabela.post();
    tabela.flushBuffers();
    tabela.close();
}

void utworzTabeleKonfiguracji(const QString &katalog, QDate dzis)
{
    Table tabela;
    tabela.setTableName(QDir(katalog).filePath(QStringLiteral("RAWEN")));
    tabela.fieldDefs() = {{QStringLiteral("ADATA"), ftString, 10, false},
                          {QStringLiteral("ACYKL"), ftInteger, 0, false},
                          {QStringLiteral("WERSJA"), ftString, 10, false},
                          {QStringLiteral("LICENCJA"), ftString, 30, false},
                          {QStringLiteral("SERWER"), ftString, 60, false}};
    tabela.createTable();
    tabela.fieldDefs().clear();
    tabela.open();
    tabela.append();
    tabela.fieldByName(QStringLiteral("ADATA"))
        .setAsString(dzis.addDays(30).toString(QStringLiteral("yyyy.MM.dd")));
    tabela.fieldByName(QStringLiteral("ACYKL")).setAsInteger(30);
    tabela.fieldByName(QStringLiteral("WERSJA")).setAsString(QStringLiteral("2.0"));
    tabela.fieldByName(QStringLiteral("LICENCJA")).setAsString(QStringLiteral("DEMONSTRACYJNA"));
    tabela.fieldByName(QStringLiteral("SERWER"))
        .setAsString(QStringLiteral("https://rawen.example/aktualizacje"));
    tabela.post();
    tabela.flushBuffers();
    tabela.close();
}

const WzorTabeli &wzorDlaKoncowki(const QString &koncowka)
{
    for (const WzorTabeli &wzor : WzoryTabelRoku()) {
        if (koncowka.compare(QString::fromLatin1(wzor.sciezka), Qt::CaseInsensitive) == 0)
            return wzor;
    }
    throw BladDanychDemo(QStringLiteral("Brak wzoru tabeli demonstracyjnej %1.").arg(koncowka));
}

// Every table the year-copy rules name, so that a year opening on the demo meets each rule.
void utworzRok(const QString &katalogFirmy, int rok, const FirmaDemo &firma, const QString &miasto)
{
    const QString katalogRoku = QDir(katalogFirmy).filePath(QString::number(rok));
    const Podstawienia podstawienia{{QStringLiteral("{R-1}"), QString::number(rok - 1)},
                                    {QStringLiteral("{R}"), QString::number(rok)},
                                    {QStringLiteral("{MIASTO}"), miasto},
                                    {QStringLiteral("{OSOBA}"), QString::fromUtf8(firma.osoba)}};
    for (const RegulaKopiiRoku &regula : RegulyKopiiRoku()) {
        const WzorTabeli &wzor = wzorDlaKoncowki(regula.koncowka);
        const QString sciezka = sciezkaPod(katalogRoku, wzor.sciezka);
        utworzKatalog(QFileInfo(sciezka).absolutePath());
        utworzTabele(sciezka, wzor, podstawienia, firma.numer);
    }
}

void utworzBaze(const QString &katalogFirmy)
{
    const QString katalogBazy = QDir(katalogFirmy).filePath(QStringLiteral("BAZA"));
    utworzKatalog(katalogBazy);
    for (const WzorTabeli &wzor : WzoryTabelBazy())
        utworzTabele(sciezkaPod(katalogBazy, wzor.sciezka), wzor, {}, 0);
}

QString wartoscFirmy(const FirmaDemo &firma, const char *pole)
{
    for (const auto &[nazwa, wartosc] : firma.dane) {
        if (qstrcmp(nazwa, pole) == 0)
            return QString::fromUtf8(wartosc);
    }
    return QString();
}

void skopiujProgramyModulow(const QString &katalog, const QString &programModulu)
{
    const QFileDevice::Permissions wykonywalny = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                 QFileDevice::ExeOther;
    for (const QString &nazwa : ProgramyModulow()) {
        const QString cel = QDir(katalog).filePath(nazwa);
        if (!QFile::copy(programModulu, cel) || !QFile::setPermissions(cel, wykonywalny))
            throw BladDanychDemo(
                QStringLiteral("Nie można skopiować programu %1 do %2.")
                    .arg(QDir::toNativeSeparators(programModulu), QDir::toNativeSeparators(cel)));
    }
}

void utworzZawartosc(const QString &katalog, QDate dzis, const QString &programModulu)
{
    const QList<FirmaDemo> &firmy = FirmyDemo();
    for (const FirmaDemo &firma : firmy) {
        const QString katalogFirmy = firma.numer == 0
                                         ? katalog
                                         : QDir(katalog).filePath(QStringLiteral("FIRMA%1").arg(
                                               firma.numer, 3, 10, QLatin1Char('0')));
        utworzKatalog(katalogFirmy);
        utworzTabeleFirmy(katalogFirmy, firma, dzis);
        const QString miasto = wartoscFirmy(firma, "MIEJSCOWOSC");
        // Firm 000 also has last year, so that there is a year to look back at and a year list
        // of more than one entry.
        if (firma.numer == 0)
            utworzRok(katalogFirmy, dzis.year() - 1, firma, miasto);
        utworzRok(katalogFirmy, dzis.year(), firma, miasto);
        utworzBaze(katalogFirmy);
    }
    utworzTabeleKonfiguracji(katalog, dzis);
    skopiujProgramyModulow(katalog, programModulu);
}

QString sciezkaBezwzgledna(const QString &katalog)
{
    if (!QDir::isRelativePath(katalog))
        return QDir::cleanPath(katalog);
    QString podstawa = AppContext::current().currentDirectory;
    if (podstawa.isEmpty())
        podstawa = QDir::currentPath();
    return QDir::cleanPath(QDir(podstawa).filePath(katalog));
}

// The topmost of `katalog` and its ancestors that does not exist yet: what a failed run removes
// when it had to create the directory.
QString pierwszyBrakujacy(const QString &katalog)
{
    QString brakujacy = katalog;
    for (QString rodzic = QFileInfo(katalog).path();
         rodzic != brakujacy && !QFileInfo::exists(rodzic); rodzic = QFileInfo(rodzic).path())
        brakujacy = rodzic;
    return brakujacy;
}

// A failed run leaves nothing of its own. The directory was empty or missing when the run began,
// so everything in it now is the run's.
void usunUtworzone(const QString &katalog, const QString &utworzony)
{
    if (!utworzony.isEmpty()) {
        QDir(utworzony).removeRecursively();
        return;
    }
    const QFileInfoList wpisy = QDir(katalog).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                            QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &wpis : wpisy) {
        if (wpis.isDir() && !wpis.isSymLink())
            QDir(wpis.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(wpis.absoluteFilePath());
    }
}

} // namespace

void UtworzDaneDemo(const QString &katalog, QDate dzis, const QString &programModulu)
{
    const QString cel = sciezkaBezwzgledna(katalog);
    const QString nazwaCelu = QDir::toNativeSeparators(cel);

    const QFileInfo program(programModulu);
    if (!program.isFile())
        throw BladDanychDemo(QStringLiteral("Brak programu modułu demonstracyjnego %1.")
                                 .arg(QDir::toNativeSeparators(programModulu)));

    const QFileInfo info(cel);
    QString utworzony;
    if (info.exists() || info.isSymLink()) {
        if (!info.isDir())
            throw BladDanychDemo(
                QStringLiteral("%1 nie jest katalogiem. Dane demonstracyjne można utworzyć tylko "
                               "w pustym albo nowym katalogu.")
                    .arg(nazwaCelu));
        if (!QDir(cel).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot))
            throw BladDanychDemo(
                QStringLiteral("Katalog %1 nie jest pusty. Dane demonstracyjne można utworzyć "
                               "tylko w pustym albo nowym katalogu.")
                    .arg(nazwaCelu));
    } else {
        utworzony = pierwszyBrakujacy(cel);
    }

    const auto niepowodzenie = [&](const QString &przyczyna) {
        usunUtworzone(cel, utworzony);
        return BladDanychDemo(
            QStringLiteral("Nie udało się utworzyć danych demonstracyjnych w katalogu %1: %2")
                .arg(nazwaCelu, przyczyna));
    };
    try {
        // mkpath may stop half-way, so making the directory is part of what a failure undoes.
        utworzKatalog(cel);
        utworzZawartosc(cel, dzis, program.absoluteFilePath());
    } catch (const EngineError &blad) {
        throw niepowodzenie(blad.message());
    } catch (const BladDanychDemo &blad) {
        throw niepowodzenie(blad.message());
    }
}

} // namespace rawen
