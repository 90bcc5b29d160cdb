#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace rawen {

// A tab bar whose tabs wrap onto further rows when they do not fit side by side, as the page
// controls of the old forms did, so that every page's tab shows whole at once. With more than one
// row each row is stretched to the full width, and the row of the current tab lies next to the
// pages.
class MultiRowTabBar : public QTabBar
{
    Q_OBJECT

public:
    explicit MultiRowTabBar(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Where the tab `index` is drawn and clicked in the bar's present width.
    QRect placeOfTab(int index) const;
    // The number of rows the tabs take in the bar's present width.
    int rowCount() const;
    // The size a tab needs for its title.
    using QTabBar::tabSizeHint;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void tabLayoutChange() override;

private:
    // The width the tabs are laid out in: the bar's own once it has one, the page control's
    // while it is being laid out.
    int layoutWidth() const;
    QList<QRect> layOut(int width, int *rows = nullptr) const;
};

// A page control with the tab bar above.
class MultiRowTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    explicit MultiRowTabWidget(QWidget *parent = nullptr);

    MultiRowTabBar *multiRowTabBar() const;
};

} // namespace rawen
