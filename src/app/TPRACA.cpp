#include "app/TPRACA.h"

#include "app/Gauge.h"
#include "ui_TPRACA.h"

#include <QCoreApplication>
#include <QScreen>

namespace rawen {

TPRACA::TPRACA(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::TPRACA>())
{
    m_ui->setupUi(this);
    // A caption with no buttons on it: the operation ends the display, never the user.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(374, 67);
}

TPRACA::~TPRACA() = default;

Gauge *TPRACA::pasek() const
{
    return m_ui->pasek;
}

void TPRACA::Start(const QString &caption, int total)
{
    m_ui->Etytul->setText(caption);
    m_ui->pasek->setProgress(0);
    m_ui->pasek->setMinimum(0);
    m_ui->pasek->setMaximum(total);
    if (!isVisible()) {
        centreOnScreen();
        show();
        // A window just shown paints nothing until the window system has delivered its showing,
        // and the caller pumps no messages until the operation ends. User input stays queued.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers);
    }
    repaint();
}

void TPRACA::Postep()
{
    Gauge *gauge = m_ui->pasek;
    if (gauge->progress() < gauge->maximum())
        gauge->setProgress(gauge->progress() + 1);
}

void TPRACA::Stop()
{
    m_ui->pasek->setProgress(0);
    hide();
}

void TPRACA::centreOnScreen()
{
    const QScreen *target = screen();
    if (target == nullptr)
        return;
    winId(); // the frame around the client area is known once the native window exists
    QRect area = frameGeometry();
    area.moveCenter(target->availableGeometry().center());
    move(area.topLeft());
}

} // namespace rawen
