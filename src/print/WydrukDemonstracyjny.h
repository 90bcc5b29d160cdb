#pragma once

namespace rawen {

class Wydruk;

// A report to look at the print engine with (rawen --demo-wydruk): a ruled table of invoices
// with Polish letters, its heading lines repeated on every page, a totals line and the closing
// line, long enough for three pages of the PDF printer.
void WydrukDemonstracyjny(Wydruk &wydruk);

} // namespace rawen
