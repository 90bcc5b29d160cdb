#include "platform/MultiRowTabWidget.h"

#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>

namespace rawen {

MultiRowTabBar::MultiRowTabBar(QWidget *parent) : QTabBar(parent)
{
    // The bar's own layout in one row is not used: no scroll buttons, no shortened titles.
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setExpanding(false);
    setDrawBase(false);
    connect(this, &QTabBar::currentChanged, this, [this] { update(); });
}

int MultiRowTabBar::layoutWidth() const
{
    // The page control gives the bar at most its own width less the frame.
    if (const QWidget *pages = parentWidget(); pages && width() <= 1)
        return pages->contentsRect().width() - 4;
    return width();
}

QList<QRect> MultiRowTabBar::layOut(int width, int *rowCount) const
{
    QList<QRect> places;
    const int count = this->count();
    if (count == 0) {
        if (rowCount)
            *rowCount = 0;
        return places;
    }
    // Tabs are placed left to right; one that does not fit any more begins a new row.
    QList<QList<int>> rows{QList<int>()};
    QList<int> widths;
    int rowHeight = 0;
    int used = 0;
    for (int i = 0; i < count; ++i) {
        const QSize size = tabSizeHint(i);
        widths << size.width();
        rowHeight = std::max(rowHeight, size.height());
        if (!rows.last().isEmpty() && used + size.width() > width) {
            rows.append(QList<int>());
            used = 0;
        }
        rows.last() << i;
        used += size.width();
    }
    // The row of the current tab goes next to the pages, the others keep their order above it.
    int currentRow = 0;
    for (int r = 0; r < rows.size(); ++r) {
        if (rows[r].contains(currentIndex()))
            currentRow = r;
    }
    if (rows.size() > 1)
        rows.append(rows.takeAt(currentRow));

    places.resize(count);
    for (int r = 0; r < rows.size(); ++r) {
        const QList<int> &row = rows[r];
        int natural = 0;
        for (int i : row)
            natural += widths[i];
        // Rows of a bar of several rows are stretched to the whole width.
        const int extra = rows.size() > 1 ? std::max(0, width - natural) : 0;
        int x = 0;
        for (qsizetype k = 0; k < row.size(); ++k) {
            const int share = int(extra * (k + 1) / row.size() - extra * k / row.size());
            places[row[k]] = QRect(x, r * rowHeight, widths[row[k]] + share, rowHeight);
            x += widths[row[k]] + share;
        }
    }
    if (rowCount)
        *rowCount = int(rows.size());
    return places;
}

QRect MultiRowTabBar::placeOfTab(int index) const
{
    const QList<QRect> places = layOut(layoutWidth());
    return index >= 0 && index < places.size() ? places[index] : QRect();
}

int MultiRowTabBar::rowCount() const
{
    int rows = 0;
    (void)layOut(layoutWidth(), &rows);
    return rows;
}

QSize MultiRowTabBar::sizeHint() const
{
    const int width = parentWidget() ? parentWidget()->contentsRect().width() - 4 : 400;
    int rows = 0;
    const QList<QRect> places = layOut(width, &rows);
    int height = 0;
    for (const QRect &place : places)
        height = std::max(height, place.bottom() + 1);
    return QSize(width, height);
}

QSize MultiRowTabBar::minimumSizeHint() const
{
    return sizeHint();
}

void MultiRowTabBar::tabLayoutChange()
{
    QTabBar::tabLayoutChange();
    updateGeometry();
    update();
}

void MultiRowTabBar::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    const QList<QRect> places = layOut(width());
    const QPoint mouse = mapFromGlobal(QCursor::pos());
    // The current tab last, since it is drawn over its neighbours and the pages' frame.
    QList<int> order;
    for (int i = 0; i < count(); ++i) {
        if (i != currentIndex())
            order << i;
    }
    if (currentIndex() >= 0)
        order << currentIndex();
    for (int i : order) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.rect = places[i];
        option.text = tabText(i);
        // Its place in its row, which the style uses to draw the row's ends.
        const bool first = places[i].left() == 0;
        const bool last =
            places[i].right() + 1 >= width() ||
            std::none_of(places.begin(), places.end(), [&](const QRect &other) {
                return other.top() == places[i].top() && other.left() > places[i].left();
            });
        option.position = first && last ? QStyleOptionTab::OnlyOneTab
                          : first       ? QStyleOptionTab::Beginning
                          : last        ? QStyleOptionTab::End
                                        : QStyleOptionTab::Middle;
        if (underMouse() && places[i].contains(mouse))
            option.state |= QStyle::State_MouseOver;
        else
            option.state &= ~QStyle::State_MouseOver;
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
}

void MultiRowTabBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QList<QRect> places = layOut(width());
    for (int i = 0; i < places.size(); ++i) {
        if (places[i].contains(event->position().toPoint()) && isTabEnabled(i)) {
            setCurrentIndex(i);
            break;
        }
    }
    event->accept();
}

void MultiRowTabBar::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void MultiRowTabBar::mouseMoveEvent(QMouseEvent *event)
{
    // Only the highlight of the tab under the mouse follows it; tabs are not dragged.
    update();
    event->accept();
}

MultiRowTabWidget::MultiRowTabWidget(QWidget *parent) : QTabWidget(parent)
{
    setTabBar(new MultiRowTabBar(this));
}

MultiRowTabBar *MultiRowTabWidget::multiRowTabBar() const
{
    return static_cast<MultiRowTabBar *>(tabBar());
}

} // namespace rawen
