#include "install/IkonaProgramu.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace rawen {

QImage IkonaProgramu(int rozmiar)
{
    QImage obraz(rozmiar, rozmiar, QImage::Format_ARGB32_Premultiplied);
    obraz.fill(Qt::transparent);
    QPainter p(&obraz);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a square of 256 units; a line never gets thinner than a pixel.
    const qreal skala = rozmiar / 256.0;
    p.scale(skala, skala);
    const qreal piksel = 1 / skala;
    const qreal kreska = std::max<qreal>(3, piksel);

    QLinearGradient tlo(0, 0, 0, 256);
    tlo.setColorAt(0, QColor(18, 52, 86));
    tlo.setColorAt(1, QColor(40, 110, 140));
    p.setPen(Qt::NoPen);
    p.setBrush(tlo);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    // The page, tilted a little as on the splash window: ruled lines, the margin, the amounts
    // and the gold rule of the total.
    p.translate(128, 130);
    p.rotate(7);
    p.translate(-66, -96);
    p.setBrush(QColor(250, 248, 238));
    p.drawRoundedRect(QRectF(0, 0, 132, 192), 8, 8);
    const bool male = rozmiar <= 24;
    const qreal odstep = male ? 44 : 24;
    p.setPen(QPen(QColor(150, 180, 210), kreska));
    for (qreal y = 30; y < 150; y += odstep)
        p.drawLine(QLineF(10, y, 122, y));
    p.setPen(QPen(QColor(200, 70, 70), kreska));
    p.drawLine(QLineF(28, 8, 28, 184));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 60));
    const qreal dlugosci[] = {58, 40, 70, 30, 52};
    int i = 0;
    for (qreal y = 30; y < 150; y += odstep, ++i) {
        const qreal dlugosc = dlugosci[i % 5];
        p.drawRoundedRect(QRectF(116 - dlugosc, y - 14, dlugosc, male ? 14 : 9), 3, 3);
    }
    p.setBrush(QColor(255, 200, 90));
    p.drawRect(QRectF(44, 160, 74, std::max<qreal>(6, 2 * piksel)));
    p.drawRect(QRectF(44, 172, 74, std::max<qreal>(6, 2 * piksel)));
    p.end();
    return obraz;
}

const QList<int> &RozmiaryIkony()
{
    static const QList<int> rozmiary{16, 22, 24, 32, 48, 64, 128, 256};
    return rozmiary;
}

QIcon IkonaOkien()
{
    QIcon ikona;
    for (int rozmiar : {16, 24, 32, 48, 64})
        ikona.addPixmap(QPixmap::fromImage(IkonaProgramu(rozmiar)));
    return ikona;
}

} // namespace rawen
