#include "print/QtDrukarkaWindows.h"

#include "platform/DurableFiles.h"
#include "platform/FileDialogs.h"
#include "platform/Printers.h"
#include "platform/QtPrinters.h"
#include "print/CelWydruku.h"
#include "print/CzcionkiWydruku.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace rawen {

// The PDF printer writes through a file that takes the place of an earlier one of its name only
// once the document is whole.
class PlikPdf final : public QIODevice
{
public:
    explicit PlikPdf(const QString &nazwa) : m_plik(nazwa) {}

    bool otworz() { return m_plik.open() && QIODevice::open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }
    // False when a write failed on the way or the file did not land.
    bool zatwierdz()
    {
        QIODevice::close();
        if (m_bladZapisu) {
            m_plik.discard();
            return false;
        }
        return m_plik.commit();
    }
    QString nazwa() const { return m_plik.target(); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *dane, qint64 dlugosc) override
    {
        if (m_bladZapisu || !m_plik.write(QByteArray::fromRawData(dane, dlugosc))) {
            m_bladZapisu = true;
            return -1;
        }
        return dlugosc;
    }

private:
    ReplacingFile m_plik;
    bool m_bladZapisu = false;
};

namespace {

QPageLayout ukladPdf(bool poziomo)
{
    return QPageLayout(QPageSize(QPageSize::A4),
                       poziomo ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

// The document's name as a file name: what a file system refuses becomes "_".
QString nazwaPliku(const QString &nazwaDokumentu)
{
    QString nazwa = nazwaDokumentu.trimmed();
    for (QChar &znak : nazwa) {
        if (QStringLiteral("\\/:*?\"<>|").contains(znak) || znak.unicode() < 32)
            znak = u'_';
    }
    return (nazwa.isEmpty() ? QStringLiteral("wydruk") : nazwa) + QStringLiteral(".pdf");
}

} // namespace

QtDrukarkaWindows::QtDrukarkaWindows(const Printers &drukarki, const QImage &logo)
    : m_drukarki(drukarki), m_logo(logo)
{}

QtDrukarkaWindows::~QtDrukarkaWindows()
{
    przerwij();
}

QString QtDrukarkaWindows::nazwaDrukarki() const
{
    return m_drukarki.currentName();
}

bool QtDrukarkaWindows::naPdf() const
{
    const QString nazwa = nazwaDrukarki();
    // A system printer of the same name is that printer, as in the list.
    return nazwa == QtPrinters::pdfPrinterName() &&
           !QPrinterInfo::availablePrinterNames().contains(nazwa);
}

QPagedPaintDevice *QtDrukarkaWindows::urzadzenie() const
{
    if (m_pdf)
        return m_pdf.get();
    if (naPdf())
        return nullptr;
    if (!m_drukarka || m_dlaDrukarki != nazwaDrukarki()) {
        m_drukarka = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_drukarka->setPrinterName(nazwaDrukarki());
        m_dlaDrukarki = nazwaDrukarki();
    }
    return m_drukarka->isValid() ? m_drukarka.get() : nullptr;
}

int QtDrukarkaWindows::rozdzielczoscPionowa() const
{
    if (m_pdf || naPdf())
        return kRozdzielczoscPdf;
    const QPagedPaintDevice *drukarka = urzadzenie();
    if (!drukarka) {
        m_blad = QStringLiteral("Błąd otwarcia drukarki : ") + nazwaDrukarki();
        return 0;
    }
    return drukarka->logicalDpiY();
}

QRect QtDrukarkaWindows::obszarStrony(bool poziomo) const
{
    if (m_pdf || naPdf())
        return ukladPdf(poziomo).paintRectPixels(kRozdzielczoscPdf);
    const auto *drukarka = static_cast<QPrinter *>(urzadzenie());
    if (!drukarka)
        return QRect();
    QPageLayout uklad = drukarka->pageLayout();
    uklad.setOrientation(poziomo ? QPageLayout::Landscape : QPageLayout::Portrait);
    return uklad.paintRectPixels(drukarka->resolution());
}

int QtDrukarkaWindows::wysokoscStrony() const
{
    return obszarStrony(m_poziomo).height();
}

int QtDrukarkaWindows::szerokoscStrony(bool poziomo) const
{
    return obszarStrony(poziomo).width();
}

double QtDrukarkaWindows::szerokoscZnakuNaPunkt() const
{
    const int dpi =
        m_pdf || naPdf() ? kRozdzielczoscPdf : (urzadzenie() ? urzadzenie()->logicalDpiX() : 0);
    if (dpi <= 0)
        return 0;
    // Measured large on a picture of the printer's resolution, where hinting moves nothing.
    QImage miara(1, 1, QImage::Format_RGB32);
    miara.setDotsPerMeterX(qRound(dpi / 0.0254));
    miara.setDotsPerMeterY(qRound(dpi / 0.0254));
    constexpr int kPunkty = 100;
    const QFontMetricsF metryka(CzcionkaWydruku(QStringLiteral("Lucida Console"), kPunkty), &miara);
    return metryka.horizontalAdvance(u'M') / kPunkty;
}

void QtDrukarkaWindows::ustawUklad(bool poziomo, double skala)
{
    m_poziomo = poziomo;
    m_skala = skala > 0 ? skala : 1.0;
}

DrukarkaWindows::Wynik QtDrukarkaWindows::rozpocznij(const QString &nazwaDokumentu)
{
    przerwij();
    m_blad.clear();
    if (naPdf()) {
        const QString plik = FileDialogs::current().saveFileName(
            nazwaPliku(nazwaDokumentu), QStringLiteral("pdf"), QStringLiteral("Pliki PDF (*.pdf)"));
        if (plik.isEmpty())
            return Wynik::Anulowane;
        // Never over a table, nor a file named as one among the data.
        const QString zajety = BladPlikuWydruku(plik, KatalogiDanychWydruku());
        if (!zajety.isEmpty()) {
            m_blad = QStringLiteral("Błąd otwarcia pliku : ") + plik +
                     QStringLiteral("\rPrzyczyna: ") + zajety;
            return Wynik::Blad;
        }
        m_plikPdf = std::make_unique<PlikPdf>(plik);
        if (!m_plikPdf->otworz()) {
            m_blad = QStringLiteral("Błąd otwarcia pliku : ") + plik;
            m_plikPdf.reset();
            return Wynik::Blad;
        }
        m_pdf = std::make_unique<QPdfWriter>(m_plikPdf.get());
        m_pdf->setResolution(kRozdzielczoscPdf);
        m_pdf->setPageLayout(ukladPdf(m_poziomo));
        m_pdf->setTitle(nazwaDokumentu);
        m_pdf->setCreator(QStringLiteral("RAWEN 2.0"));
    } else {
        QPrinter *drukarka = static_cast<QPrinter *>(urzadzenie());
        if (drukarka) {
            drukarka->setDocName(nazwaDokumentu);
            drukarka->setPageOrientation(m_poziomo ? QPageLayout::Landscape
                                                   : QPageLayout::Portrait);
        }
    }
    QPagedPaintDevice *cel = urzadzenie();
    if (!cel || !m_painter.begin(cel)) {
        m_blad = m_plikPdf ? QStringLiteral("Błąd otwarcia pliku : ") + m_plikPdf->nazwa()
                           : QStringLiteral("Błąd otwarcia drukarki : ") + nazwaDrukarki();
        m_pdf.reset();
        m_plikPdf.reset();
        return Wynik::Blad;
    }
    return Wynik::Gotowe;
}

void QtDrukarkaWindows::ustawCzcionke(const QString &nazwa, int punkty)
{
    m_czcionka = CzcionkaWydruku(nazwa, punkty);
    m_punkty = punkty;
    ustawPismo();
    if (m_painter.isActive())
        m_painter.setFont(m_czcionka);
}

void QtDrukarkaWindows::ustawRozmiar(int punkty)
{
    if (m_punkty == punkty)
        return;
    m_punkty = punkty;
    ustawPismo();
    if (m_painter.isActive())
        m_painter.setFont(m_czcionka);
}

void QtDrukarkaWindows::ustawPismo()
{
    if (m_skala >= 1.0) {
        m_czcionka.setPointSize(m_punkty);
        return;
    }
    // Letters made smaller to fit the page take a whole number of the device's pixels, never
    // more than the fitting allowed: the face rounds a size between two to the nearer one.
    const double pikseleNaPunkt = rozdzielczoscPionowa() / 72.0;
    if (pikseleNaPunkt <= 0) {
        m_czcionka.setPointSizeF(m_punkty * m_skala);
        return;
    }
    m_czcionka.setPixelSize(std::max(1, int(std::floor(m_punkty * m_skala * pikseleNaPunkt))));
}

void QtDrukarkaWindows::rysujTekst(int x, int y, const QString &tekst)
{
    if (!m_painter.isActive())
        return;
    // The old canvas placed a text by the top of its character cell; QPainter by its baseline.
    m_painter.drawText(QPoint(x, y + m_painter.fontMetrics().ascent()), tekst);
}

void QtDrukarkaWindows::rysujLogo(int x, int y)
{
    if (m_painter.isActive() && !m_logo.isNull())
        m_painter.drawImage(QPoint(x, y), m_logo);
}

bool QtDrukarkaWindows::nowaStrona()
{
    QPagedPaintDevice *cel = urzadzenie();
    if (m_painter.isActive() && cel && cel->newPage())
        return true;
    m_blad = m_plikPdf ? QStringLiteral("Błąd zapisu do pliku : ") + m_plikPdf->nazwa()
                       : QStringLiteral("Błąd wydruku na drukarce : ") + nazwaDrukarki();
    return false;
}

bool QtDrukarkaWindows::zakoncz()
{
    bool gotowy = m_painter.isActive() && m_painter.end();
    if (m_plikPdf) {
        const QString plik = m_plikPdf->nazwa();
        // The writer writes the file's last part when it goes; a file not finished is dropped.
        m_pdf.reset();
        gotowy = gotowy && m_plikPdf->zatwierdz();
        m_plikPdf.reset();
        if (!gotowy)
            m_blad = QStringLiteral("Błąd zapisu do pliku : ") + plik;
    } else if (!gotowy) {
        m_blad = QStringLiteral("Błąd wydruku na drukarce : ") + nazwaDrukarki();
    }
    return gotowy;
}

void QtDrukarkaWindows::przerwij()
{
    if (m_painter.isActive()) {
        if (!m_pdf && m_drukarka)
            m_drukarka->abort();
        m_painter.end();
    }
    // An unfinished PDF file leaves nothing behind.
    m_pdf.reset();
    m_plikPdf.reset();
}

} // namespace rawen
