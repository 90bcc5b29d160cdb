#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TDRUKTYT;
}

namespace rawen {

// The title prompt "Nazwa wydruku" of a job begun with a question for its title. It has no
// cancel: however it is closed, its text is the title.
class TDRUKTYT : public QDialog
{
    Q_OBJECT

public:
    // `tytulWydruku` gives the job's title at each showing.
    explicit TDRUKTYT(std::function<QString()> tytulWydruku, QWidget *parent = nullptr);
    ~TDRUKTYT() override;

    // Shows the prompt modally and returns the text of Etytul.
    QString zapytaj();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TDRUKTYT> ui;
    std::function<QString()> m_tytulWydruku;
};

} // namespace rawen
