#include "shell/TRAWENF.h"

#include "app/WartosciProgramu.h"
#include "ui_TRAWENF.h"

#include <QScreen>
#include <QShowEvent>

namespace rawen {

TRAWENF::TRAWENF(WartosciProgramu &wartosci, QWidget *parent)
    : QWidget(parent), ui(new Ui::TRAWENF), m_wartosci(wartosci)
{
    ui->setupUi(this);
    // A tool-window border: a caption with the close button only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(565, 300);
}

TRAWENF::~TRAWENF() = default;

void TRAWENF::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The window is shown once, by the message loop; later shows (after a minimise) are no
    // new start.
    if (!m_pokazane && !event->spontaneous()) {
        m_pokazane = true;
        FormShow();
    }
}

void TRAWENF::FormShow()
{
    setWindowTitle(m_wartosci.tytul);
    if (const QScreen *ekran = screen())
        move(ekran->availableGeometry().center() - rect().center());
}

} // namespace rawen
