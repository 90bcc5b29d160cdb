#pragma once

#include <QApplication>

namespace rawen {

// The application object. An error that escapes a handler is shown in an error box and the
// program goes on, as every handler of the program expects.
class RawenApplication : public QApplication
{
public:
    RawenApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace rawen
