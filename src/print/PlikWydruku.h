#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace rawen {

// The open stream of the DOS port channel and the text-file channels.
class PlikWydruku
{
public:
    // A text file destroyed before zamknij() leaves an earlier file of its name whole.
    virtual ~PlikWydruku() = default;

    // False when not all bytes went out.
    virtual bool zapisz(const QByteArray &bajty) = 0;
    // A port is closed; a text file takes the place of an earlier one of its name. False when a
    // text file did not land.
    virtual bool zamknij() = 0;
};

// Where the channels get their streams. The program's open the port device as it is and write a
// text file under a temporary name beside the one chosen; a test can fail any step.
class PlikiWydruku
{
public:
    virtual ~PlikiWydruku() = default;

    // Null when the device cannot be opened for writing.
    virtual std::unique_ptr<PlikWydruku> otworzPort(const QString &urzadzenie) = 0;
    // Null when the file cannot be made.
    virtual std::unique_ptr<PlikWydruku> otworzPlik(const QString &nazwa) = 0;

    // The real devices and files.
    static PlikiWydruku &systemowe();
};

} // namespace rawen
