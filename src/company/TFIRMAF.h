#pragma once

#include "data/DataBinding.h"

#include <QDialog>
#include <QImage>

#include <memory>

namespace Ui {
class TFIRMAF;
}

namespace rawen {

class TDANE;

// The company data form "Dane o Firmie": every control shows and edits a field of the current
// record of the data module's firm table (the update-check values, hidden, of its configuration
// table); whatever was typed is saved when the window closes, however it closes. Made on first use
// and kept; always shown modally.
class TFIRMAF : public QDialog
{
    Q_OBJECT

public:
    explicit TFIRMAF(TDANE &dane, QWidget *parent = nullptr);
    ~TFIRMAF() override;

    // The logo picture the print window holds; without one the picture box stays empty.
    void ustawLogo(const QImage *logo) { m_logo = logo; }

    DataBinding &powiazania() { return m_powiazania; }

public slots:
    void FormShow();
    void FormClose();
    void STRONA6Show();
    // The focus left one of the ten seat-address controls, which has written its field.
    void EULICAExit(QWidget *sender);

protected:
    void showEvent(QShowEvent *event) override;
    // Every way of closing the window ends here: the close box, Escape, close().
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void opuszczono(QWidget *kontrolka);
    void sprawdzNumer(QWidget *kontrolka);
    void pokazPodpowiedz(QWidget *kontrolka);

    std::unique_ptr<Ui::TFIRMAF> ui;
    TDANE &m_dane;
    const QImage *m_logo = nullptr;
    bool m_pokazywanie = false;
    DataBinding m_powiazania;
};

} // namespace rawen
