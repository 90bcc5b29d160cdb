#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class Tzero;
}

namespace rawen {

// The splash window shown while the program starts: a picture, "Program " and the title, and
// the bar `budowa` that start-up advances. No message loop runs meanwhile, so every change is
// painted at once.
class Tzero : public QDialog
{
    Q_OBJECT

public:
    // `tytul` is the application title as it stands when the window is made.
    explicit Tzero(const QString &tytul, QWidget *parent = nullptr);
    ~Tzero() override;

    // Shows the window and paints it now.
    void pokaz();
    // Moves `budowa` on by `krok` and paints it now.
    void postep(int krok);
    int budowa() const;
    QString napis() const;

    // The picture of the window: 400 x 300, drawn for this program.
    static QImage obraz();

private:
    void FormCreate(const QString &tytul);

    std::unique_ptr<Ui::Tzero> ui;
};

} // namespace rawen
