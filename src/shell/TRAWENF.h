#pragma once

#include "data/Table.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <memory>

class QListWidgetItem;

namespace Ui {
class TRAWENF;
}

namespace rawen {

class OknoPostepu;
class TARCHF;
class Processes;
class TDANE;
class TFIRMAF;
class TROKF;
struct WartosciProgramu;

// The main window: the register of firms and the panels that start the modules and the
// commands. Closing it ends the program.
class TRAWENF : public QWidget
{
    Q_OBJECT

public:
    TRAWENF(WartosciProgramu &wartosci, TDANE &dane, Processes &procesy, QWidget *parent = nullptr);
    ~TRAWENF() override;

    // The data root with a closing separator (the directory of the program's executable, or the
    // one chosen at start), worked out when the window is first shown.
    QString katalogGlowny() const { return m_katalogGlowny; }

    // The data root "Katalog danych" chose for the program to start again on; empty unless it
    // closed the window for that.
    QString nowyKatalog() const { return m_nowyKatalog; }

    // Reads firm tables for the list; left closed between uses.
    Table Table1;

    // The progress window, made after this window; the long commands show their steps there.
    void ustawOknoPostepu(OknoPostepu *postep) { m_postep = postep; }
    // The year form, made on first use and kept.
    TROKF *ROKF() const { return m_rokf.get(); }
    // The company data form, made on first use (by "Nowa firma") and kept.
    TFIRMAF *FIRMAF() const { return m_firmaf.get(); }
    // The logo picture of the print window, made after this window, for the company data form.
    void ustawLogo(const QImage *logo);
    // The archive window, made on first use (the reminder after the first showing) and kept.
    TARCHF *ARCHF() const { return m_archf.get(); }

public slots:
    void FormShow();
    // The click handler of every control of every module panel; `sender` is the clicked control.
    void PROG(QObject *sender);
    // "Nowa firma": creates a firm and adds it to the list.
    void NOWY();
    // "Kasuj firmę": takes the selected firm out of the register.
    void Panel5Click();
    void Panel6Click();
    void Panel7Click();
    // "Katalog danych": another data root; the program starts again on it.
    void Panel8Click();
    // A double click (or Enter) on a firm's item: its company data in "Dane o Firmie".
    void FIRMADblClick(QListWidgetItem *pozycja);

protected:
    void showEvent(QShowEvent *event) override;
    // Closing the main window ends the program, whatever other windows are open.
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Starts what a click on `kontrolka` of a panel starts; false for a control that starts
    // nothing.
    bool kliknij(QObject *kontrolka);
    void oznaczModuly();
    void zbudujWykaz();
    QListWidgetItem *dodajPozycje(const QString &pozycja, const QString &katalog);
    TROKF &rokf();
    TARCHF &archf();
    TFIRMAF &firmaf();

    std::unique_ptr<Ui::TRAWENF> ui;
    WartosciProgramu &m_wartosci;
    TDANE &m_dane;
    Processes &m_procesy;
    OknoPostepu *m_postep = nullptr;
    const QImage *m_logo = nullptr;
    std::unique_ptr<TROKF> m_rokf;
    std::unique_ptr<TFIRMAF> m_firmaf;
    // Firm directories that creations of this run left when they failed; "Nowa firma" may use
    // them again.
    QStringList m_pozostawione;
    std::unique_ptr<TARCHF> m_archf;
    QString m_katalogGlowny;
    // The installation's folder of module programs, looked in after the data root.
    QString m_katalogModulow;
    QString m_nowyKatalog;
    bool m_pokazane = false;
    // The panels in reading order, which Tab goes through after the firm list.
    QList<QWidget *> m_panele;
};

} // namespace rawen
