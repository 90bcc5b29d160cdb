#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TRAWENF;
}

namespace rawen {

struct WartosciProgramu;

// The main window. Closing it ends the program.
class TRAWENF : public QWidget
{
    Q_OBJECT

public:
    explicit TRAWENF(WartosciProgramu &wartosci, QWidget *parent = nullptr);
    ~TRAWENF() override;

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void FormShow();

private:
    std::unique_ptr<Ui::TRAWENF> ui;
    WartosciProgramu &m_wartosci;
    bool m_pokazane = false;
};

} // namespace rawen
