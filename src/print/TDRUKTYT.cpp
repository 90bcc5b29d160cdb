#include "print/TDRUKTYT.h"

#include "ui_TDRUKTYT.h"

#include <QShowEvent>

namespace rawen {

TDRUKTYT::TDRUKTYT(std::function<QString()> tytulWydruku, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDRUKTYT>()), m_tytulWydruku(std::move(tytulWydruku))
{
    ui->setupUi(this);
    // A dialog border without the help button; the close button stays, since closing gives the
    // title too.
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

TDRUKTYT::~TDRUKTYT() = default;

QString TDRUKTYT::zapytaj()
{
    exec();
    return ui->Etytul->text();
}

void TDRUKTYT::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        ui->Etytul->setText(m_tytulWydruku());
        ui->Etytul->selectAll();
    }
    QDialog::showEvent(event);
}

} // namespace rawen
