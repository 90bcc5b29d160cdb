#pragma once

#include <QWidget>

namespace rawen {

// A horizontal bar with the percentage done written over it. Its callers keep the user-interface
// thread busy, so every visible change is painted at once, and only when the percentage changes.
class Gauge : public QWidget
{
    Q_OBJECT

public:
    explicit Gauge(QWidget *parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int progress() const { return m_progress; }
    int percentage() const { return percentage(m_minimum, m_maximum, m_progress); }
    static int percentage(int minimum, int maximum, int progress);

    // Both move the progress into the new range; a bound that would cross the other one throws
    // BladWartosci and changes nothing.
    void setMinimum(int value);
    void setMaximum(int value);
    // Held within the range.
    void setProgress(int value);

    // Paints actually done, so that a test can see what a long operation costs the screen.
    int paintCount() const { return m_paintCount; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_minimum = 0;
    int m_maximum = 100;
    int m_progress = 0;
    int m_paintCount = 0;
};

} // namespace rawen
