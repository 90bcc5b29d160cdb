#include "app/Gauge.h"

#include "app/BladWartosci.h"

#include <QPainter>

#include <limits>

namespace rawen {

namespace {

constexpr int kLargest = std::numeric_limits<int>::max();

BladWartosci outOfRange(qint64 low, qint64 high)
{
    return BladWartosci(QStringLiteral("Wartość musi być pomiędzy %1 a %2").arg(low).arg(high));
}

} // namespace

Gauge::Gauge(QWidget *parent) : QWidget(parent)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(16);
    font.setBold(true);
    setFont(font);
}

int Gauge::percentage(int minimum, int maximum, int progress)
{
    if (maximum == minimum)
        return 0;
    // The whole int range times 100 overflows 32 bits.
    return static_cast<int>((qint64(progress) - minimum) * 100 / (qint64(maximum) - minimum));
}

void Gauge::setMinimum(int value)
{
    if (value == m_minimum)
        return;
    if (value > m_maximum)
        throw outOfRange(-qint64(kLargest), qint64(m_maximum) - 1);
    m_minimum = value;
    if (m_progress < value)
        m_progress = value;
    repaint();
}

void Gauge::setMaximum(int value)
{
    if (value == m_maximum)
        return;
    if (value < m_minimum)
        throw outOfRange(qMin(qint64(m_minimum) + 1, qint64(kLargest)), kLargest);
    m_maximum = value;
    if (m_progress > value)
        m_progress = value;
    repaint();
}

void Gauge::setProgress(int value)
{
    value = qBound(m_minimum, value, m_maximum);
    if (value == m_progress)
        return;
    const int before = percentage();
    m_progress = value;
    if (percentage() != before)
        repaint();
}

QSize Gauge::sizeHint() const
{
    return {100, 38};
}

void Gauge::paintEvent(QPaintEvent *)
{
    ++m_paintCount;
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(frame);

    const QRect inside = rect().adjusted(1, 1, -1, -1);
    const int percent = percentage();
    QRect done = inside;
    done.setWidth(int(qint64(inside.width()) * percent / 100));
    QRect left = inside;
    left.setLeft(done.right() + 1);
    painter.fillRect(done, Qt::black);

    // The text is inverted where the bar lies under it, so it reads on both parts.
    const QString text = QString::asprintf("%d%%", percent);
    painter.setFont(font());
    painter.setClipRect(left);
    painter.setPen(Qt::black);
    painter.drawText(inside, Qt::AlignCenter, text);
    painter.setClipRect(done);
    painter.setPen(Qt::white);
    painter.drawText(inside, Qt::AlignCenter, text);
}

} // namespace rawen
