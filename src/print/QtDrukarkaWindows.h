#pragma once

#include "print/DrukarkaWindows.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <memory>

class QPagedPaintDevice;
class QPrinter;
class QPdfWriter;

namespace rawen {

class PlikPdf;
class Printers;

// The Windows printer channel's canvas on the current printer of the print window's list: a
// system printer through QPrinter (so a print queue shows the document under its name), or, for
// the PDF printer, a PDF file asked for through the save dialog and put in place only when the
// document is complete.
class QtDrukarkaWindows final : public DrukarkaWindows
{
public:
    QtDrukarkaWindows(const Printers &drukarki, const QImage &logo);
    ~QtDrukarkaWindows() override;

    int rozdzielczoscPionowa() const override;
    int wysokoscStrony() const override;
    int szerokoscStrony(bool poziomo) const override;
    double szerokoscZnakuNaPunkt() const override;
    void ustawUklad(bool poziomo, double skala) override;
    Wynik rozpocznij(const QString &nazwaDokumentu) override;
    void ustawCzcionke(const QString &nazwa, int punkty) override;
    void ustawRozmiar(int punkty) override;
    void rysujTekst(int x, int y, const QString &tekst) override;
    void rysujLogo(int x, int y) override;
    bool nowaStrona() override;
    bool zakoncz() override;
    void przerwij() override;
    QString blad() const override { return m_blad; }

    // The PDF printer's pages: A4, 10 mm margins, 1200 dots per inch.
    static constexpr int kRozdzielczoscPdf = 1200;

private:
    bool naPdf() const;
    // The device of the current printer, made anew when the choice in the list changed.
    QPagedPaintDevice *urzadzenie() const;
    QString nazwaDrukarki() const;
    // The printable area of the current printer's page, upright or on its side, in device pixels;
    // empty when there is no printer.
    QRect obszarStrony(bool poziomo) const;
    void koniecDokumentu();
    // The font's size: the size asked for times the scale of the document.
    void ustawPismo();

    const Printers &m_drukarki;
    QImage m_logo;
    mutable std::unique_ptr<QPrinter> m_drukarka;
    mutable std::unique_ptr<QPdfWriter> m_pdf;
    mutable QString m_dlaDrukarki;
    std::unique_ptr<PlikPdf> m_plikPdf;
    QPainter m_painter;
    QFont m_czcionka;
    int m_punkty = 0;
    bool m_poziomo = false;
    double m_skala = 1.0;
    mutable QString m_blad;
};

} // namespace rawen
