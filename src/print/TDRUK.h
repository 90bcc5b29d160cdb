#pragma once

#include "print/OknoWydruku.h"
#include "print/UstawieniaDruku.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <memory>

class QButtonGroup;
class QRadioButton;

namespace Ui {
class TDRUK;
}

namespace rawen {

class DrukarkaWindows;
class OknoPostepu;
class Printers;
class TDRUKTYT;
class Wydruk;
struct WartosciProgramu;

// The print window: the print settings, the document buffer EDRUK and the button "DRUKUJ" that
// prints it. It lives for the whole run and carries the print engine (wydruk()) that report code
// prints through; the window only shows the buffer and the settings.
class TDRUK : public QMainWindow, private OknoWydruku
{
    Q_OBJECT

public:
    // Jobs show their progress in `postep` and print the user name, title and start-up date of
    // `wartosci` in their page headers.
    TDRUK(Printers &drukarki, OknoPostepu &postep, const WartosciProgramu &wartosci,
          QWidget *parent = nullptr);
    ~TDRUK() override;

    // The print engine's calling interface.
    Wydruk &wydruk() { return *m_wydruk; }

    // A job may change a setting itself (a page header switches DRPODZIAL on); the window shows
    // the change the next time it is shown.
    UstawieniaDruku &ustawienia() { return m_ustawienia; }
    const UstawieniaDruku &ustawienia() const { return m_ustawienia; }

    // "logo.bmp" of the current directory; empty when there is none or it does not load.
    const QImage &logo() const { return m_logo; }

public slots:
    void FormShow();
    // "DRUKUJ": prints the buffer's selection, or all of it.
    void KDRUKClick();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void EWINDOWSClick();
    void EDRUKARKAChange(int index);
    void EPORTChange(const QString &tekst);
    void ERDClick(int indeks);
    void EPLClick(int indeks);
    void EPodzialClick(bool zaznaczony);
    void EBUFORClick(bool zaznaczony);
    void MARGINESGChange(const QString &tekst);
    void MARGINESLChange(const QString &tekst);
    void WIERSZYChange(const QString &tekst);
    void SpeedButton1Click();
    void KZAPISZClick();

private:
    void FormCreate();
    void zaznaczKanal(int kanal);
    void wczytajLogo();

    // The document buffer and the window as the engine sees them.
    void wyczyscBufor() override;
    void dopiszWiersz(const QString &wiersz) override;
    QString tekstDoWydruku() override;
    void usunZaznaczenie() override;
    void czcionkaPoWydruku() override;
    QString zapytajOTytul(const QString &tytul) override;
    void pokaz() override;

    std::unique_ptr<Ui::TDRUK> ui;
    Printers &m_drukarki;
    UstawieniaDruku m_ustawienia;
    QImage m_logo;
    std::unique_ptr<DrukarkaWindows> m_drukarkaWindows;
    std::unique_ptr<Wydruk> m_wydruk;
    // Made at its first use, kept for the rest of the run.
    std::unique_ptr<TDRUKTYT> m_tytul;
    std::array<QRadioButton *, 4> m_kanaly{};
    QButtonGroup *m_rodzaj = nullptr;
    QButtonGroup *m_kodowanie = nullptr;
    // Set while the window itself changes its controls, so that the handlers take only what
    // the user does.
    bool m_zmianaWlasna = false;
};

} // namespace rawen
