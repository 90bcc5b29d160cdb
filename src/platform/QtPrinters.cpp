#include "platform/QtPrinters.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace rawen {

QtPrinters::QtPrinters()
{
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    select(systemDefault.isEmpty() ? pdfPrinterName() : systemDefault);
}

QStringList QtPrinters::names() const
{
    QStringList result = QPrinterInfo::availablePrinterNames();
    // A system printer of the same name wins; the list never shows a name twice.
    if (!result.contains(pdfPrinterName()))
        result.append(pdfPrinterName());
    return result;
}

QString QtPrinters::currentName() const
{
    return m_current;
}

void QtPrinters::select(const QString &name)
{
    m_current = name;
    if (name == pdfPrinterName() && !QPrinterInfo::availablePrinterNames().contains(name)) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setPrinterName(name);
    }
}

void QtPrinters::setup()
{
    QPrintDialog dialog(&m_printer, QApplication::activeWindow());
    dialog.exec();
}

QString QtPrinters::pdfPrinterName()
{
    return QStringLiteral("Plik PDF");
}

} // namespace rawen
