#pragma once

#include "platform/OknoPostepu.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TPRACA;
}

namespace rawen {

class Gauge;

// The shared progress window of long operations. They run on the user-interface thread without
// pumping messages, so the window paints every visible change itself, at once.
class TPRACA : public QWidget, public OknoPostepu
{
    Q_OBJECT

public:
    explicit TPRACA(QWidget *parent = nullptr);
    ~TPRACA() override;

    // A negative total throws BladWartosci before the window is shown.
    void Start(const QString &caption, int total) override;
    void Postep() override;
    void Stop() override;

    Gauge *pasek() const;

private:
    void centreOnScreen();

    std::unique_ptr<Ui::TPRACA> m_ui;
};

} // namespace rawen
