#include "platform/QtPrinters.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

namespace rawen::test {
namespace {

// Whatever the machine has installed, the PDF printer is offered once and prints to a file.
TEST(QtPrinters, ThePdfPrinterIsAlwaysOfferedAndSelectable)
{
    QtPrinters printers;
    const QStringList names = printers.names();
    EXPECT_EQ(names.count(QtPrinters::pdfPrinterName()), 1);
    for (const QString &name : QPrinterInfo::availablePrinterNames())
        EXPECT_TRUE(names.contains(name)) << name.toStdString();

    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    EXPECT_EQ(printers.currentName(),
              systemDefault.isEmpty() ? QtPrinters::pdfPrinterName() : systemDefault);

    printers.select(QtPrinters::pdfPrinterName());
    EXPECT_EQ(printers.currentName(), QtPrinters::pdfPrinterName());
    if (!QPrinterInfo::availablePrinterNames().contains(QtPrinters::pdfPrinterName())) {
        EXPECT_EQ(printers.printer().outputFormat(), QPrinter::PdfFormat);
    }
}

} // namespace
} // namespace rawen::test
