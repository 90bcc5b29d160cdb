#include "app/Tzero.h"

#include "ui_Tzero.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace rawen {

Tzero::Tzero(const QString &tytul, QWidget *parent) : QDialog(parent), ui(new Ui::Tzero)
{
    ui->setupUi(this);
    // A dialog border without border icons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(382, 341);
    ui->Image1->setPixmap(QPixmap::fromImage(obraz()));
    FormCreate(tytul);
}

Tzero::~Tzero() = default;

void Tzero::FormCreate(const QString &tytul)
{
    ui->Label1->setText(QStringLiteral("Program ") + tytul);
}

void Tzero::pokaz()
{
    show();
    // Centred on the screen, as the window asks for.
    if (const QScreen *ekran = screen())
        move(ekran->availableGeometry().center() - rect().center());
    repaint();
}

void Tzero::postep(int krok)
{
    ui->budowa->setValue(ui->budowa->value() + krok);
    ui->budowa->repaint();
}

int Tzero::budowa() const
{
    return ui->budowa->value();
}

QString Tzero::napis() const
{
    return ui->Label1->text();
}

QImage Tzero::obraz()
{
    QImage obraz(400, 300, QImage::Format_RGB32);
    QPainter p(&obraz);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient tlo(0, 0, 0, 300);
    tlo.setColorAt(0, QColor(18, 52, 86));
    tlo.setColorAt(1, QColor(40, 110, 140));
    p.fillRect(obraz.rect(), tlo);

    // A ledger page: ruled lines, a margin and a column of amounts, tilted a little.
    p.save();
    p.translate(250, 36);
    p.rotate(7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 248, 238));
    p.drawRoundedRect(QRectF(0, 0, 112, 170), 4, 4);
    p.setPen(QPen(QColor(150, 180, 210), 1));
    for (int y = 28; y < 165; y += 14)
        p.drawLine(QLineF(8, y, 104, y));
    p.setPen(QPen(QColor(200, 70, 70), 1));
    p.drawLine(QLineF(22, 6, 22, 164));
    p.setPen(QColor(40, 40, 60));
    QFont cyfry(QStringLiteral("DejaVu Sans Mono"));
    cyfry.setPixelSize(10);
    p.setFont(cyfry);
    const char *kwoty[] = {"1 250,00", "480,50", "3 105,20", "99,99",   "760,00",
                           "2 014,10", "333,33", "120,00",   "8 163,12"};
    int y = 14;
    for (const char *kwota : kwoty) {
        p.drawText(QRectF(26, y, 76, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromLatin1(kwota));
        y += 14;
    }
    p.restore();

    // The program's name.
    p.setPen(QColor(255, 255, 255));
    QFont nazwa(QStringLiteral("DejaVu Sans"));
    nazwa.setBold(true);
    nazwa.setPixelSize(50);
    p.setFont(nazwa);
    p.drawText(QRectF(24, 70, 220, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("RAWEN"));
    QFont wersja(nazwa);
    wersja.setPixelSize(30);
    p.setFont(wersja);
    p.setPen(QColor(255, 200, 90));
    p.drawText(QRectF(28, 135, 200, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("2.0"));
    QFont opis(QStringLiteral("DejaVu Sans"));
    opis.setPixelSize(14);
    p.setFont(opis);
    p.setPen(QColor(220, 235, 245));
    p.drawText(QRectF(28, 200, 340, 20), Qt::AlignLeft, QStringLiteral("Księgowość małego biura"));
    p.drawText(QRectF(28, 222, 340, 20), Qt::AlignLeft,
               QStringLiteral("firmy, lata obrachunkowe, archiwum, wydruki"));
    p.setPen(QPen(QColor(255, 200, 90), 2));
    p.drawLine(QLineF(28, 192, 210, 192));
    return obraz;
}

} // namespace rawen
