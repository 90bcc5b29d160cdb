#pragma once

#include "platform/Printers.h"

#include <QPrinter>

namespace rawen {

// Printers of the system, and always one more that writes a PDF file, so that a machine without
// a printer can still print.
class QtPrinters final : public Printers
{
public:
    QtPrinters();

    QStringList names() const override;
    QString currentName() const override;
    void select(const QString &name) override;
    void setup() override;

    // The printer that the print engine draws on, set to the current printer.
    QPrinter &printer() { return m_printer; }

    static QString pdfPrinterName();

private:
    QPrinter m_printer;
    QString m_current;
};

} // namespace rawen
