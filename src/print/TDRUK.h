#pragma once

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

class Printers;

// The print window: the print settings, the document buffer EDRUK and the button that prints it.
// It lives for the whole run; print jobs read the settings and the logo from it.
class TDRUK : public QMainWindow
{
    Q_OBJECT

public:
    explicit TDRUK(Printers &drukarki, QWidget *parent = nullptr);
    ~TDRUK() override;

    // Set by a caller for one job.
    bool DrukujOdRazu = false;
    bool DrukujLogo = false;

    // A job may change a setting itself (a page header switches DRPODZIAL on); the window shows
    // the change the next time it is shown.
    UstawieniaDruku &ustawienia() { return m_ustawienia; }
    const UstawieniaDruku &ustawienia() const { return m_ustawienia; }

    // "logo.bmp" of the current directory; empty when there is none or it does not load.
    const QImage &logo() const { return m_logo; }

public slots:
    void FormShow();

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

    std::unique_ptr<Ui::TDRUK> ui;
    Printers &m_drukarki;
    UstawieniaDruku m_ustawienia;
    QImage m_logo;
    std::array<QRadioButton *, 4> m_kanaly{};
    QButtonGroup *m_rodzaj = nullptr;
    QButtonGroup *m_kodowanie = nullptr;
    // Set while the window itself changes its controls, so that the handlers take only what
    // the user does.
    bool m_zmianaWlasna = false;
};

} // namespace rawen
