#pragma once

#include <QString>

namespace ferlin::sample {

class Catalogue;

// Writes the full texts of the catalogue's references into a text index, as the program's
// indexer would store them once read from the PDF files, without writing the files: for the
// benchmarks and the screen pictures. The newest references first, at most `limit` of them;
// with `pages` above 0, every text has that many pages. Returns the texts written.
int writeSampleTextIndex(const QString &indexPath, const Catalogue &catalogue, int references,
                         int limit, int pages = 0);

} // namespace ferlin::sample
