#pragma once

#include "data/DataBinding.h"

#include <QDialog>

#include <memory>

class QLineEdit;

namespace Ui {
class TARCHF;
}

namespace rawen {

class OknoPostepu;
class TARCHF1;
class TDANE;
struct WartosciProgramu;

// "Moduł ARCHIWUM": the archive of the database files under the data directory into an archive
// directory, and the restore from one, each on its page. The main window and the archive
// reminder show it modally.
class TARCHF : public QDialog
{
    Q_OBJECT

public:
    TARCHF(WartosciProgramu &wartosci, TDANE &dane, OknoPostepu *postep, QWidget *parent = nullptr);
    ~TARCHF() override;

    // The archive reminder: once the firm's period has passed since the last archive, asks
    // whether to archive now and shows this window on Yes.
    void SPRAWDZ();

    // The folder chooser, made on first use.
    TARCHF1 *ARCHF1() const { return m_archf1.get(); }

public slots:
    void FormShow();
    void RAClick();
    void RA1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void BitBtn2Click();
    void BitBtn4Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString katalogArchiwum(QLineEdit *pole);
    TARCHF1 &archf1();

    std::unique_ptr<Ui::TARCHF> ui;
    WartosciProgramu &m_wartosci;
    TDANE &m_dane;
    OknoPostepu *m_postep;
    DataBinding m_wiazanie;
    std::unique_ptr<TARCHF1> m_archf1;
};

} // namespace rawen
